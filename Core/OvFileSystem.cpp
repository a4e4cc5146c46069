#include "OvFileSystem.h"

#include <windows.h>

OvString EnsureTrailingBackslash(const wchar_t* path)
{
    OvString result(path);
    int n = result.Length();
    while (n > 0 && result[n - 1] == L'\\') --n;
    if (n == 0) return result.IsEmpty() ? result : OvString(L"\\");
    return result.Left(n) + L'\\';
}

bool FileExists(const wchar_t* path)
{
    if (!path || !*path) return false;
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const wchar_t* path)
{
    if (!path || !*path) return false;
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

OvString GetFolderOfPath(const wchar_t* path)
{
    OvString text(path);
    int slash = text.ReverseFind(L'\\');
    int forward = text.ReverseFind(L'/');
    if (forward > slash) slash = forward;
    return slash < 0 ? OvString() : text.Left(slash + 1);
}
