#pragma once
// Format with typed argument slots (up to 20): narrow text (UTF-8), wide text, OvString, integer,
// double.
//
// A conversion is '%', an optional blank flag, optional width digits, an optional '.' and
// precision digits, an optional length prefix ("I64" before 'd' or 'u' reads 64 bits; 'l' before
// 'd', 's', 'x' or 'u' is skipped) and a letter. Each conversion but "%%" takes the next slot; a
// missing slot or one of the wrong kind gives nothing, and 0 for the integer letters.
//   d i u x X  the width (or, without width, the precision) is the minimum number of digits,
//              filled with '0', or with blanks after the blank flag; the sign comes before the
//              zeros and after the blanks
//   c          the code unit of an integer from 1 to 65535
//   p / h      at least 8 upper-case hexadecimal digits / the same after "0x"
//   f          the double with the precision, or as DoubleToText without one; the width is the
//              least number of characters, filled with '0' after the sign or blanks before it
//   s          the text, at most width code units of it; a null text gives "(null)"
//   %          a percent sign; any other letter stands for itself
// A number wider than the 32-character work area is cut to it and ends in '?'.

#include "OvFormatArg.h"
#include "OvString.h"

OvString OvFormatArgs(const wchar_t* format, const OvFormatArg* args, int count);

template <class... Args>
OvString OvFormat(const wchar_t* format, const Args&... args)
{
    OvString result;
    result.Format(format, args...);
    return result;
}
