#include "FileSystemService.h"

#include "OvFileSystem.h"

namespace {

// "C:\", "\\server\share\" or "\\?\C:\" for the path; empty when it names no root.
OvString RootOf(const OvString& path)
{
    OvString p = path.StartsWith(L"\\\\?\\") ? path.Mid(4) : path;
    if (p.Length() >= 2 && p[1] == L':' && iswalpha(p[0])) return p.Left(2) + L"\\";
    if (p.StartsWith(L"\\\\")) {
        int server = p.Find(L'\\', 2);
        if (server <= 2) return OvString();
        int share = p.Find(L'\\', server + 1);
        OvString root = share < 0 ? p : p.Left(share);
        return root.Length() > server + 1 ? root + L"\\" : OvString();
    }
    return OvString();
}

}  // namespace

bool FileSystemService::IsValidPath(const wchar_t* path, int)
{
    OvString root = RootOf(OvString(path));
    if (root.IsEmpty()) return false;
    if (root.StartsWith(L"\\\\")) return DirectoryExists(root);
    UINT type = GetDriveTypeW(root);
    return type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN;
}

bool FileSystemService::FolderExists(const wchar_t* path, int)
{
    return DirectoryExists(path);
}

bool FileSystemService::FileExists(const wchar_t* path, int)
{
    return ::FileExists(path);
}
