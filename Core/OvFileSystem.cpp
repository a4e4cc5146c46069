#include "OvFileSystem.h"

#include "DirectoryEnumerator.h"
#include "OvLog.h"
#include "OvProductLibraries.h"
#include "OvProductPaths.h"
#include "OvStoredFormats.h"
#include "OvStringArray.h"
#include "OvStringNames.h"
#include "OvStringFormat.h"
#include "OvStringNumbers.h"

#include <windows.h>

#include <cwctype>

namespace {

constexpr int kMaxPlainPath = 259;

IOvFileSystemService* FileSystemService()
{
    IOvTools* tools = GetToolsInterface(false);
    return tools ? tools->GetFileSystem() : nullptr;
}

bool IsSeparator(wchar_t c) { return c == L'\\'; }

// Replaces every occurrence of from by to; answers whether anything changed.
bool ReplaceAll(OvString& text, const wchar_t* from, const wchar_t* to)
{
    bool changed = false;
    for (int at = text.Find(from); at >= 0; at = text.Find(from, at)) {
        text = text.Left(at) + to + text.Mid(at + static_cast<int>(wcslen(from)));
        changed = true;
    }
    return changed;
}

}  // namespace

OvString EnsureTrailingBackslash(const wchar_t* path)
{
    OvString result(path);
    if (result.IsEmpty() || result.Equals(L"\\\\")) return result;
    int n = result.Length();
    while (n > 0 && result[n - 1] == L'\\') --n;
    return result.Left(n) + L'\\';
}

bool IsAbsoluteLocalPath(const wchar_t* pathText)
{
    OvString path(pathText);
    if (path.StartsWith(L"\\\\?\\")) path = path.Mid(4);
    if (path.Length() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\') return true;
    return path.Length() >= 3 && path[0] == L'\\' && path[1] == L'\\' && iswalnum(path[2]);
}

OvString MakeValidPath(const wchar_t* pathText)
{
    OvString path(pathText);
    path.Trim();
    const bool longPrefix = path.StartsWithNoCase(L"\\\\?\\");
    if (longPrefix) path = path.Mid(4);

    // Blanks and dots before a backslash and blanks after one disappear.
    while (ReplaceAll(path, L" \\", L"\\") | ReplaceAll(path, L".\\", L"\\") | ReplaceAll(path, L"\\ ", L"\\")) {
    }
    // Runs of backslashes become one, except for the leading pair of a network path.
    OvString collapsed;
    for (int i = 0; i < path.Length(); ++i) {
        if (i >= 2 && IsSeparator(path[i]) && IsSeparator(path[i - 1])) continue;
        collapsed += path[i];
    }
    path = collapsed;

    const bool drive = path.Length() >= 2 && path[1] == L':';
    wchar_t* chars = path.GetBuffer(0);
    for (int i = 0; i < path.Length(); ++i) {
        wchar_t c = chars[i];
        if (c < 0x20) chars[i] = L' ';
        else if (wcschr(L":/*?\"<>|", c)) chars[i] = L'_';
    }
    path.ReleaseBuffer(path.Length());
    if (drive) {
        chars = path.GetBuffer(0);
        chars[1] = L':';
        path.ReleaseBuffer(path.Length());
        if (path.Length() == 2) path += L'\\';
        else if (path[2] != L'\\') path = path.Left(2) + L"\\" + path.Mid(2);
    }

    constexpr int kMaxLength = 252;
    if (path.Length() > kMaxLength) {
        const int excess = path.Length() - kMaxLength;
        const int slash = path.ReverseFind(L'\\');
        int dot = path.ReverseFind(L'.');
        if (dot <= slash) dot = path.Length();
        const int titleLength = dot - slash - 1;
        if (titleLength - excess > 1) path = path.Left(dot - excess) + path.Mid(dot);
    }
    return longPrefix ? L"\\\\?\\" + path : path;
}

bool MakeAbsolutePath(const wchar_t* baseText, OvString& relative)
{
    const OvString base(baseText);
    if (base.IsEmpty() || relative.IsEmpty()) return false;
    if (relative.StartsWith(L"\\\\") ||
        (relative.Length() >= 3 && iswalpha(relative[0]) && relative[1] == L':' && relative[2] == L'\\'))
        return false;
    if (!IsPlainLocalPath(base)) return false;

    OvStringArray pieces;
    pieces.Split(base, L"\\");
    // The root: "C:" or the "\\server\share" pieces, which ".." never removes.
    const int rootPieces = base.StartsWith(L"\\\\") ? 4 : 1;
    if (relative.StartsWith(L"\\")) {
        pieces.SetCount(pieces.GetCount() < rootPieces ? pieces.GetCount() : rootPieces);
    } else if (!base.EndsWith(L"\\") && pieces.GetCount() > rootPieces &&
               pieces[pieces.GetCount() - 1].Find(L'.') >= 0) {
        pieces.RemoveAt(pieces.GetCount() - 1);
    }
    OvStringArray more;
    more.Split(relative, L"\\");
    for (const OvString& piece : more) {
        if (piece.Equals(L"..")) {
            if (pieces.GetCount() > rootPieces) pieces.RemoveAt(pieces.GetCount() - 1);
        } else if (!piece.IsEmpty()) {
            pieces.Add(piece);
        }
    }
    OvString joined = pieces.Join(L"\\");
    if (relative.EndsWith(L"\\")) joined += L'\\';
    relative = joined;
    return true;
}

OvString GetFullPath(const wchar_t* pathText)
{
    OvString path(pathText);
    wchar_t full[MAX_PATH + 1];
    DWORD n = GetFullPathNameW(path, MAX_PATH + 1, full, nullptr);
    return n > 0 && n <= MAX_PATH ? OvString(full) : path;
}

OvString WithLongPathPrefix(const wchar_t* pathText)
{
    OvString path(pathText);
    if (path.Length() <= kMaxPlainPath || path.StartsWith(L"\\\\?\\") || path.Find(L"://") >= 0) return path;
    if (path.StartsWith(L"\\\\")) return L"\\\\?\\UNC\\" + path.Mid(2);
    return L"\\\\?\\" + path;
}

OvString GetFolderOfPath(const wchar_t* path)
{
    OvString text(path);
    int slash = text.ReverseFind(L'\\');
    int forward = text.ReverseFind(L'/');
    if (forward > slash) slash = forward;
    return slash < 0 ? OvString() : text.Left(slash + 1);
}

bool FileExists(const wchar_t* path)
{
    if (!path || !*path) return false;
    DWORD attributes = GetFileAttributesW(WithLongPathPrefix(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const wchar_t* path)
{
    if (!path || !*path) return false;
    DWORD attributes = GetFileAttributesW(WithLongPathPrefix(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const wchar_t* path)
{
    IOvFileSystemService* service = FileSystemService();
    return service && service->FolderExists(EnsureTrailingBackslash(path), 0);
}

int64_t GetLocalFileSize(const wchar_t* path)
{
    if (!path || !*path) return -1;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WithLongPathPrefix(path), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (static_cast<int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

bool OvDeleteFile(const wchar_t* pathText)
{
    if (!pathText || !*pathText) return false;
    OvString path = WithLongPathPrefix(pathText);
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path) != 0;
}

bool CreateDirectoryPath(const wchar_t* pathText, bool testWriting)
{
    OvString path(pathText);
    IOvFileSystemService* service = FileSystemService();
    if (path.IsEmpty() || !service) return false;
    if (!IsAbsoluteLocalPath(path)) return !testWriting;
    if (!service->FolderExists(EnsureTrailingBackslash(path), 0)) {
        if (!service->IsValidPath(path, 0)) return false;
        OvStringArray missing;
        OvString walk = path;
        for (;;) {
            int n = walk.Length();
            while (n > 0 && walk[n - 1] == L'\\') --n;
            walk = walk.Left(n);
            if (walk.Length() < 2 || service->FolderExists(EnsureTrailingBackslash(walk), 0)) break;
            missing.Add(walk);
            int slash = walk.ReverseFind(L'\\');
            if (slash < 0) break;
            walk = walk.Left(slash);
        }
        for (int i = missing.GetCount() - 1; i >= 0; --i) {
            if (!CreateDirectoryW(WithLongPathPrefix(missing[i]), nullptr)) continue;
            if (!service->FolderExists(EnsureTrailingBackslash(missing[i]), 0)) break;
        }
        if (!service->FolderExists(EnsureTrailingBackslash(path), 0)) return false;
    }
    return testWriting ? IsDirectoryWritable(path) : true;
}

bool IsDirectoryWritable(const wchar_t* folderText)
{
    const OvString folder = EnsureTrailingBackslash(folderText);
    HANDLE handle = CreateFileW(WithLongPathPrefix(folder), FILE_ADD_FILE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return true;
    }
    const OvString test =
        OvFormat(L"%sDirectory Write Test (%d).tmp", folder, static_cast<int64_t>(GetCurrentThreadId()));
    HANDLE file = CreateFileW(WithLongPathPrefix(test), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, "test", 4, &written, nullptr) && written == 4;
    CloseHandle(file);
    OvDeleteFile(test);
    return ok;
}

bool SafeReplaceFile(const wchar_t* targetText, const wchar_t* replacementText)
{
    const OvString target(targetText);
    const OvString replacement(replacementText);
    const wchar_t* scope = L"OvFileSystem::SafeReplaceFile";
    bool ok = false;
    if (GetLocalFileSize(replacement) >= 0 && !target.IsEmpty()) {
        if (!FileExists(target)) {
            ok = MoveFileW(WithLongPathPrefix(replacement), WithLongPathPrefix(target)) != 0;
        } else {
            const OvString saved = MakeUnusedName(target);
            if (!MoveFileW(WithLongPathPrefix(target), WithLongPathPrefix(saved))) {
                OvLogWrite(scope, L"Error renaming original file");
            } else if (!MoveFileW(WithLongPathPrefix(replacement), WithLongPathPrefix(target))) {
                MoveFileW(WithLongPathPrefix(saved), WithLongPathPrefix(target));
                OvLogWrite(scope, L"Error moving new file into place of original name");
            } else {
                OvDeleteFile(saved);
                ok = true;
            }
        }
    }
    if (!ok) OvDeleteFile(replacement);
    return ok;
}

OvString MakeUnusedName(const wchar_t* pathText)
{
    OvString path(pathText);
    while (FileExists(path)) {
        const int slash = path.ReverseFind(L'\\');
        int dot = path.ReverseFind(L'.');
        if (dot <= slash) dot = path.Length();
        const OvString folder = path.Left(slash + 1);
        const OvString title = path.Mid(slash + 1, dot - slash - 1);
        const OvString extension = path.Mid(dot);
        path = folder + NextCounterName(title) + extension;
    }
    return path;
}

bool DeleteDirectory(const wchar_t* folderText, const OvStringArray* keepExtensions, const OvStringArray* keepNames)
{
    const OvString folder = EnsureTrailingBackslash(folderText);
    if (folder.IsEmpty()) return false;
    bool kept = false;
    DirectoryEnumerator entries;
    for (bool more = entries.Start(folder); more; more = entries.Next()) {
        const OvFileLocation& entry = entries.Current();
        if (entries.IsFolder()) {
            if (entries.FindData().dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                // A link to a folder elsewhere: the link goes, what it points to is not ours.
                const OvString link = entry.GetPath().Left(entry.GetPath().Length() - 1);
                if (!RemoveDirectoryW(WithLongPathPrefix(link))) kept = true;
                continue;
            }
            DeleteDirectory(entry.GetPath(), keepExtensions, keepNames);
            if (DirectoryExists(entry.GetPath())) kept = true;
            continue;
        }
        const OvString type = entry.Properties().GetString(L"FileType", entry.GetExtension());
        const bool keep = (keepExtensions && keepExtensions->FindInArray(type, false) >= 0) ||
                          (keepNames && keepNames->FindInArray(entry.GetFileName(), false) >= 0);
        if (keep)
            kept = true;
        else
            OvDeleteFile(entry.GetPath());
    }
    if (!kept) {
        const OvString path = folder.Left(folder.Length() - 1);
        if (!RemoveDirectoryW(path) && !path.StartsWith(L"\\\\?\\")) RemoveDirectoryW(L"\\\\?\\" + path);
    }
    return true;
}

bool IsDirectoryEmpty(const wchar_t* folder, bool recurse, bool foldersCount)
{
    DirectoryEnumerator entries;
    for (bool more = entries.Start(folder); more; more = entries.Next()) {
        if (entries.IsFolder()) {
            if (recurse) {
                if (!IsDirectoryEmpty(entries.Current().GetPath(), true, foldersCount)) return false;
            } else if (foldersCount) {
                return false;
            }
        } else if (CompareNoCase(entries.Current().GetFileName(), L"Thumbs.db") != 0) {
            return false;
        }
    }
    return true;
}

void RemoveEmptyParents(const wchar_t* folderText)
{
    OvString folder(folderText);
    if (folder.EndsWith(L"\\")) folder = folder.Left(folder.Length() - 1);
    while (folder.Length() >= 3 && IsDirectoryEmpty(folder, false, true)) {
        DeleteDirectory(folder, nullptr, nullptr);
        const int slash = folder.ReverseFind(L'\\');
        if (slash < 0) break;
        folder = folder.Left(slash);
    }
}

OvString MakeTemporaryFileName(const wchar_t* baseFolder, bool addThreadNumber, const wchar_t* nameText)
{
    OvString folder(baseFolder);
    folder = folder.IsEmpty() ? GetTempFolder() : EnsureTrailingBackslash(folder);
    const OvString name(nameText);
    const int dot = name.ReverseFind(L'.');
    OvString path = folder + (dot < 0 ? name : name.Left(dot));
    if (addThreadNumber) path += OvFormat(L" - %d", static_cast<int64_t>(GetCurrentThreadId()));
    if (dot >= 0 && dot + 1 < name.Length()) path += L"." + name.Mid(dot + 1);
    return MakeUnusedName(path);
}

OvString FormatSize(int64_t bytes)
{
    const bool negative = bytes < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(bytes) : static_cast<uint64_t>(bytes);
    static const wchar_t* const units[] = {L"KB", L"MB", L"GB", L"TB", L"PB"};
    int unit = -1;
    for (int k = 4; k >= 0; --k) {
        if (magnitude >= (1ull << (10 * (k + 1)))) {
            unit = k;
            break;
        }
    }
    OvString text;
    if (unit < 0) {
        text = OvFormat(L"%d bytes", static_cast<int64_t>(magnitude));
    } else {
        const double scaled = static_cast<double>(magnitude) / static_cast<double>(1ull << (10 * (unit + 1)));
        text = DoubleToText(scaled, scaled >= 100 ? 0 : 1) + L" " + units[unit];
    }
    return negative ? L"-" + text : text;
}

bool GetFreeDiskSpace(const wchar_t* pathText, int64_t* freeToCaller, int64_t* total, int64_t* totalFree)
{
    OvString path(pathText);
    if (path.IsEmpty()) return false;
    if (path.Length() == 1) path += L':';
    for (;;) {
        ULARGE_INTEGER a, b, c;
        if (GetDiskFreeSpaceExW(path, &a, &b, &c)) {
            if (freeToCaller) *freeToCaller = static_cast<int64_t>(a.QuadPart);
            if (total) *total = static_cast<int64_t>(b.QuadPart);
            if (totalFree) *totalFree = static_cast<int64_t>(c.QuadPart);
            return true;
        }
        int n = path.Length();
        while (n > 0 && path[n - 1] == L'\\') --n;
        int slash = path.Left(n).ReverseFind(L'\\');
        if (slash < 2) return false;
        path = path.Left(slash);
    }
}
