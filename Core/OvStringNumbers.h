#pragma once
// Number texts: decimal and hexadecimal integers, doubles, the decimal separator.

#include "OvString.h"

#include <cstdint>

// Optional '-' and the decimal digits, without leading zeros.
OvString IntToText(int64_t value);

// Skips white space, takes an optional '-' or '+' and the decimal digits up to the first other
// character. Overflow stops the parse at 2147483647 (negated after '-'); no digits read as 0.
int ParseInt(const wchar_t* text);

// At least minDigits upper-case hexadecimal digits, no prefix.
OvString HexToText(uint64_t value, int minDigits = 8);

// Skips a leading "0x", white space and an optional sign, then reads hexadecimal digits of either
// case in 64 bits; overflow gives all ones.
uint64_t ParseHex(const wchar_t* text);

// '-' for negative values, the integer part, and, unless the value is integral, the decimal
// separator and the shortest fraction of at most 16 digits that gives the value back.
OvString DoubleToText(double value);

// The same with a fixed number of fraction digits (none for 0), using the decimal separator; a
// negative precision is DoubleToText(value). Precisions above 1100 count as 1100.
OvString DoubleToText(double value, int precision);

// Room that WriteDoubleText may need.
constexpr int kOvDoubleTextRoom = 1424;
// Writes the text of DoubleToText(value, precision) into out, without terminator; returns its length.
int WriteDoubleText(wchar_t* out, double value, int precision);

// Skips blanks and '+', takes an optional '-' (or U+2012), digits, one '.' or ',' as the decimal
// point and an optional exponent after 'e' or 'E'; stops at any other character.
double ParseDouble(const wchar_t* text);

// The locale's decimal separator ('.' or ','; '.' for anything else), worked out once.
wchar_t GetDecimalSeparator();
