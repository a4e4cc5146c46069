#pragma once
// OvString: reference-counted, copy-on-write UTF-16 text (see OvStringGlobals for the buffers).

#include "OvFormatArg.h"
#include "OvStringGlobals.h"

#include <cstdint>

class OvString {
public:
    OvString();
    OvString(const wchar_t* text);                 // null reads as empty
    OvString(const wchar_t* text, int length);     // at most length units, cut at a NUL
    OvString(const OvString& other);
    OvString(OvString&& other) noexcept;
    ~OvString();

    OvString& operator=(const OvString& other);
    OvString& operator=(OvString&& other) noexcept;
    OvString& operator=(const wchar_t* text);

    // Each byte becomes the code unit of the same value (no code page).
    static OvString FromNarrow(const char* bytes, int length = -1);

    int Length() const { return Data()->length; }
    bool IsEmpty() const { return Data()->length == 0; }
    const wchar_t* c_str() const { return chars_; }
    operator const wchar_t*() const { return chars_; }
    wchar_t operator[](int index) const { return chars_[index]; }
    wchar_t At(int index) const { return index >= 0 && index < Length() ? chars_[index] : 0; }

    // Direct writing: the buffer is private (count -1) until ReleaseBuffer.
    wchar_t* GetBuffer(int minCapacity);
    void ReleaseBuffer(int newLength = -1);

    void Empty();
    OvString& Append(const wchar_t* text, int length = -1);
    OvString& Append(wchar_t c);
    OvString& operator+=(const OvString& other) { return Append(other.chars_, other.Length()); }
    OvString& operator+=(const wchar_t* text) { return Append(text); }
    OvString& operator+=(wchar_t c) { return Append(c); }

    bool Equals(const wchar_t* text) const;
    bool EqualsNoCase(const wchar_t* text) const;
    int CompareNoCase(const wchar_t* text) const;

    int Find(wchar_t c, int from = 0) const;
    int Find(const wchar_t* text, int from = 0) const;
    // Search ignoring case (the tools library's text search, mode 3); -1 for an empty pattern.
    int FindNoCase(const wchar_t* text, int from = 0) const;
    int ReverseFind(wchar_t c) const;
    bool StartsWith(const wchar_t* text) const;
    bool StartsWithNoCase(const wchar_t* text) const;
    bool EndsWith(const wchar_t* text) const;
    bool EndsWithNoCase(const wchar_t* text) const;

    OvString Left(int count) const;
    OvString Mid(int first, int count = -1) const;
    OvString Right(int count) const;

    OvString& TrimLeft();
    OvString& TrimRight();
    OvString& Trim();
    OvString& MakeLower();
    OvString& MakeUpper();

    // Replaces every hit of any of count patterns in one pass; the earliest hit wins, and the
    // first listed pattern among hits at the same place. Hits never overlap. Each hit becomes
    // prefix + (the matched text when keepMatch, else its replacement) + suffix; replacements,
    // an entry of it, prefix and suffix may be null. Returns the number of hits; no pattern may
    // be empty (nothing is changed then).
    int Replace(const wchar_t* const* patterns, const wchar_t* const* replacements, int count, bool exactCase = true,
                bool keepMatch = false, const wchar_t* prefix = nullptr, const wchar_t* suffix = nullptr);
    int Replace(const wchar_t* pattern, const wchar_t* replacement, bool exactCase = true);
    // Returns the number of characters changed.
    int ReplaceChar(wchar_t oldChar, wchar_t newChar);

    // Replaces the text with the formatted arguments (see OvStringFormat.h).
    template <class... Args>
    OvString& Format(const wchar_t* format, const Args&... args)
    {
        static_assert(sizeof...(Args) <= kOvFormatMaxArgs, "at most 20 argument slots");
        if constexpr (sizeof...(Args) == 0) {
            return FormatArgs(format, nullptr, 0);
        } else {
            const OvFormatArg slots[] = {OvFormatArg(args)...};
            return FormatArgs(format, slots, static_cast<int>(sizeof...(Args)));
        }
    }
    OvString& FormatArgs(const wchar_t* format, const OvFormatArg* args, int count);

    // Sharing count of the buffer (for diagnostics and tests).
    LONG RefCount() const { return Data()->refs; }
    const OvStringData* Data() const { return OvStringData::FromChars(chars_); }

    // Takes over a buffer made by a string manager (count 1, length and terminator set); it goes
    // back to that manager when released.
    static OvString Adopt(OvStringData* data) { return OvString(data); }

private:
    explicit OvString(OvStringData* data) : chars_(data->Chars()) {}
    OvStringData* Header() const { return OvStringData::FromChars(chars_); }
    void Attach(OvStringData* data);
    void Release();
    void AssignText(const wchar_t* text, int length);
    // Makes the buffer private and able to hold minCapacity units plus the terminator.
    wchar_t* PrepareWrite(int minCapacity);

    const wchar_t* chars_;
};

OvString operator+(const OvString& a, const OvString& b);
OvString operator+(const OvString& a, const wchar_t* b);
OvString operator+(const wchar_t* a, const OvString& b);
OvString operator+(const OvString& a, wchar_t b);
inline bool operator==(const OvString& a, const OvString& b) { return a.Equals(b); }
inline bool operator==(const OvString& a, const wchar_t* b) { return a.Equals(b); }
inline bool operator!=(const OvString& a, const OvString& b) { return !a.Equals(b); }
inline bool operator!=(const OvString& a, const wchar_t* b) { return !a.Equals(b); }

// Case-insensitive compare: difference of the first pair of folded units that differ.
int CompareNoCase(const wchar_t* a, const wchar_t* b);
