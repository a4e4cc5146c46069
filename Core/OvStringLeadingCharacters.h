#pragma once
// Character kinds for tokenising: each object tells whether the text at a point begins with a
// character of its kind.

class OvStringLeadingCharacters {
public:
    virtual ~OvStringLeadingCharacters() = default;
    // at points into a NUL-terminated text; firstOfRun tells whether at is the first character of
    // the run being measured (some kinds accept a character only inside a run).
    virtual bool StartsAt(const wchar_t* at, bool firstOfRun) const = 0;
};

// White space (class bit 4).
class OvStringLeadingWhitespaceCharacters : public OvStringLeadingCharacters {
public:
    bool StartsAt(const wchar_t* at, bool firstOfRun) const override;
};

// Letters (class bit 2).
class OvStringLeadingAlphaCharacters : public OvStringLeadingCharacters {
public:
    bool StartsAt(const wchar_t* at, bool firstOfRun) const override;
};

// Word characters: a letter; an apostrophe followed by a letter, except as the first character
// of a word; '-' or U+2012 followed by a letter.
class OvStringLeadingWordCharacters : public OvStringLeadingCharacters {
public:
    bool StartsAt(const wchar_t* at, bool firstOfRun) const override;
};

// Decimal digits (class bit 1).
class OvStringLeadingDigitCharacters : public OvStringLeadingCharacters {
public:
    bool StartsAt(const wchar_t* at, bool firstOfRun) const override;
};
