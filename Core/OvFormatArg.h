#pragma once
// One typed argument slot of the formatter: narrow text (UTF-8), wide text, OvString, integer, double.

#include <cstddef>
#include <cstdint>

class OvString;

class OvFormatArg {
public:
    enum Kind { kNone, kNarrow, kWide, kString, kInteger, kDouble };

    OvFormatArg() = default;
    OvFormatArg(const char* text) : kind_(kNarrow), narrow_(text) {}
    OvFormatArg(const wchar_t* text) : kind_(kWide), wide_(text) {}
    OvFormatArg(std::nullptr_t) : kind_(kWide) {}
    OvFormatArg(const OvString& text) : kind_(kString), string_(&text) {}
    // Integers remember whether they came from a 32-bit type: %u and %x then show 32 bits,
    // so a negative int reads as its 32-bit pattern unless I64 asks for 64 bits.
    OvFormatArg(int value) : kind_(kInteger), is32_(true), integer_(value) {}
    OvFormatArg(long value) : kind_(kInteger), is32_(sizeof(long) == 4), integer_(value) {}
    OvFormatArg(unsigned value) : kind_(kInteger), is32_(true), integer_(value) {}
    OvFormatArg(unsigned long value) : kind_(kInteger), is32_(sizeof(long) == 4), integer_(value) {}
    OvFormatArg(long long value) : kind_(kInteger), integer_(value) {}
    OvFormatArg(unsigned long long value) : kind_(kInteger), integer_(static_cast<int64_t>(value)) {}
    OvFormatArg(const void* pointer)
        : kind_(kInteger), is32_(sizeof(void*) == 4), integer_(static_cast<int64_t>(reinterpret_cast<uintptr_t>(pointer)))
    {
    }
    OvFormatArg(double value) : kind_(kDouble), double_(value) {}

    Kind kind() const { return kind_; }
    bool is32() const { return is32_; }
    const char* narrow() const { return narrow_; }
    const wchar_t* wide() const { return wide_; }
    const OvString* string() const { return string_; }
    int64_t integer() const { return integer_; }
    double real() const { return double_; }

private:
    Kind kind_ = kNone;
    bool is32_ = false;
    const char* narrow_ = nullptr;
    const wchar_t* wide_ = nullptr;
    const OvString* string_ = nullptr;
    int64_t integer_ = 0;
    double double_ = 0;
};

constexpr int kOvFormatMaxArgs = 20;
