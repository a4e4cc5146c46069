#pragma once
// Files of the build, passed in by the build as Unix paths and reached through Wine's Z: drive.

#include "OvString.h"

inline OvString BuildFile(const wchar_t* unixPath)
{
    OvString path = OvString(L"Z:") + unixPath;
    wchar_t* chars = path.GetBuffer(0);
    for (int i = 0; i < path.Length(); ++i)
        if (chars[i] == L'/') chars[i] = L'\\';
    path.ReleaseBuffer(path.Length());
    return path;
}
