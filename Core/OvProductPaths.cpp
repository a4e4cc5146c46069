#include "OvProductPaths.h"

#include "OvFileSystem.h"

#include <windows.h>

OvString GetProgramFile()
{
    OvString path;
    for (int size = MAX_PATH;; size *= 2) {
        wchar_t* buffer = path.GetBuffer(size);
        DWORD n = GetModuleFileNameW(nullptr, buffer, size);
        if (n < static_cast<DWORD>(size) || size >= 32768) {
            path.ReleaseBuffer(static_cast<int>(n < static_cast<DWORD>(size) ? n : 0));
            return path;
        }
    }
}

OvString GetProgramFolder()
{
    OvString file = GetProgramFile();
    OvString folder = GetFolderOfPath(file);
    wchar_t longPath[MAX_PATH + 1];
    DWORD n = GetLongPathNameW(folder, longPath, MAX_PATH);
    if (n > 0 && n < MAX_PATH) folder = longPath;
    return EnsureTrailingBackslash(folder);
}
