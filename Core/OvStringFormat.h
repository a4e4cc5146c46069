#pragma once
// Format with typed argument slots: narrow text (UTF-8), wide text, OvString, 64-bit integer, double.

#include "OvString.h"

#include <cstdint>

class OvFormatArg {
public:
    enum Kind { kNone, kNarrow, kWide, kString, kInteger, kDouble };

    OvFormatArg() = default;
    OvFormatArg(const char* text) : kind_(kNarrow), narrow_(text) {}
    OvFormatArg(const wchar_t* text) : kind_(kWide), wide_(text) {}
    OvFormatArg(const OvString& text) : kind_(kString), string_(&text) {}
    OvFormatArg(int value) : kind_(kInteger), integer_(value) {}
    OvFormatArg(long value) : kind_(kInteger), integer_(value) {}
    OvFormatArg(unsigned value) : kind_(kInteger), integer_(value) {}
    OvFormatArg(unsigned long value) : kind_(kInteger), integer_(value) {}
    OvFormatArg(int64_t value) : kind_(kInteger), integer_(value) {}
    OvFormatArg(uint64_t value) : kind_(kInteger), integer_(static_cast<int64_t>(value)) {}
    OvFormatArg(double value) : kind_(kDouble), double_(value) {}

    Kind kind() const { return kind_; }
    const char* narrow() const { return narrow_; }
    const wchar_t* wide() const { return wide_; }
    const OvString* string() const { return string_; }
    int64_t integer() const { return integer_; }
    double real() const { return double_; }

private:
    Kind kind_ = kNone;
    const char* narrow_ = nullptr;
    const wchar_t* wide_ = nullptr;
    const OvString* string_ = nullptr;
    int64_t integer_ = 0;
    double double_ = 0;
};

constexpr int kOvFormatMaxArgs = 20;

OvString OvFormatArgs(const wchar_t* format, const OvFormatArg* args, int count);

template <class... Args>
OvString OvFormat(const wchar_t* format, const Args&... args)
{
    static_assert(sizeof...(Args) <= kOvFormatMaxArgs, "at most 20 argument slots");
    if constexpr (sizeof...(Args) == 0) {
        return OvFormatArgs(format, nullptr, 0);
    } else {
        const OvFormatArg slots[] = {OvFormatArg(args)...};
        return OvFormatArgs(format, slots, static_cast<int>(sizeof...(Args)));
    }
}
