#pragma once
// Reading a whole local file as text. Stands in for the text reading of the file loader, which
// will take its place.

#include "OvString.h"

// Reads the file and decodes its bytes in the encoding (OvTextEncoding). False, with empty text,
// for an empty path or a file that cannot be read whole.
bool LoadTextFile(const wchar_t* path, OvString& text, int encoding);
