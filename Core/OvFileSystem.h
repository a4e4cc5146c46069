#pragma once
// File-system helpers.

#include "OvString.h"

// The path with exactly one trailing backslash; an empty path stays empty.
OvString EnsureTrailingBackslash(const wchar_t* path);
bool FileExists(const wchar_t* path);
bool DirectoryExists(const wchar_t* path);
// The folder part of a path, with its trailing backslash ("" when there is none).
OvString GetFolderOfPath(const wchar_t* path);
