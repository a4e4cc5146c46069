#pragma once
// Helpers shared by the property map tests.

#include "OvPropertyMap.h"

#include <cstdio>
#include <ostream>

// Failure messages show OvString values as text (other than printable ASCII as \uXXXX).
inline void PrintTo(const OvString& text, std::ostream* os)
{
    *os << '"';
    for (int i = 0; i < text.Length(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0x20 && c < 0x7F) {
            *os << static_cast<char>(c);
        } else {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            *os << escaped;
        }
    }
    *os << '"';
}

// The token form of a map: its items in iteration order.
inline OvString Serialized(const OvPropertyMap& map)
{
    OvString text;
    map.Serialize(text);
    return text;
}
