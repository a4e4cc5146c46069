#pragma once
// Generated names: numbered copies and GUID texts.

#include "OvString.h"

// The name with its counter moved on: a final "(n)" with one to four digits, not starting with
// '0', becomes "(n + 1)" (keeping the blank before it, or its absence); any other name gets
// " (1)". "Name" -> "Name (1)", "Name (3)" -> "Name (4)", "Name(3)" -> "Name(4)".
OvString NextCounterName(const wchar_t* text);

// A new GUID as '{', 8-4-4-4-12 upper-case hexadecimal digits and '}' (38 characters).
OvString NewGuidText();
