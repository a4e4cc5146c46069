#pragma once
// HTML and XML character entities.

#include "OvString.h"

// Escapes text for XML: '&' -> "&amp;", '<' -> "&lt;", '>' -> "&gt;"; control characters below
// U+0020 other than tab, line feed and carriage return become '?', except U+0001, which becomes
// "&#x1;". For attribute values also '"' -> "&quot;" and '\'' -> "&apos;".
OvString EncodeEntities(const wchar_t* text, bool attribute);

// Decodes references in place, left to right. At '&' the text up to the next ';' is the
// reference: a name of the entity table (case matters); '#', 'x' or 'X' and two or four
// hexadecimal digits; '#' and two or three characters, or four hexadecimal digits, read as a
// decimal number. Anything else, and a reference to the character 0, is left as it stands and
// scanning goes on after the '&'. Decoded characters are not scanned again. Returns the number
// of references decoded.
int DecodeEntities(OvString& text);
