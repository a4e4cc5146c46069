#pragma once
// File-system helpers. Folder paths end in one backslash; paths longer than 259 characters are
// given the "\\?\" prefix before they reach the system.

#include "OvString.h"
#include "OvStringArray.h"

#include <cstdint>

// The path with exactly one trailing backslash; empty stays empty, and the text made of exactly
// two backslashes stays as it is.
OvString EnsureTrailingBackslash(const wchar_t* path);
// A drive path ("C:\...") or a network path ("\\server..."), after an optional "\\?\".
bool IsAbsoluteLocalPath(const wchar_t* path);
// The path cleaned into a valid file-system path (see the source for the rules).
OvString MakeValidPath(const wchar_t* path);
// Resolves relative against base (a plain local path; a file name at its end, one with a '.', is
// dropped): "\..." from the base's root, ".." removing the piece before it. False, relative
// unchanged, when either is empty, relative is already absolute or base is not a local path.
bool MakeAbsolutePath(const wchar_t* base, OvString& relative);
// The system's full-path form (at most 260 characters); the path itself when that fails.
OvString GetFullPath(const wchar_t* path);
// "\\?\" in front of a local path longer than 259 characters that has none yet.
OvString WithLongPathPrefix(const wchar_t* path);
// The folder part of a path, with its trailing backslash ("" when there is none).
OvString GetFolderOfPath(const wchar_t* path);

// Plain system tests (no tools library involved).
bool FileExists(const wchar_t* path);
bool DirectoryExists(const wchar_t* path);
// The tools library's folder test (no when the library is not loaded).
bool FolderExists(const wchar_t* path);
// Size of a local file, -1 when unknown.
int64_t GetLocalFileSize(const wchar_t* path);

// Sets the attributes to normal and deletes the file.
bool OvDeleteFile(const wchar_t* path);
bool CreateDirectoryPath(const wchar_t* path, bool testWriting);
bool IsDirectoryWritable(const wchar_t* folder);
// Puts the replacement in the target's place; the original comes back when that fails midway,
// and the replacement is deleted on any failure.
bool SafeReplaceFile(const wchar_t* target, const wchar_t* replacement);
// The path, or its first variant "title (n).ext" / "title(n).ext" that does not exist.
OvString MakeUnusedName(const wchar_t* path);
// Deletes the folder's files and subfolders, except files whose type (the "FileType" property,
// else the extension) is in keepExtensions or whose name is in keepNames (both ignoring case; a
// kept file keeps its folders). Links to folders are removed, never followed. False only for an
// empty path.
bool DeleteDirectory(const wchar_t* folder, const OvStringArray* keepExtensions, const OvStringArray* keepNames);
// No file other than "Thumbs.db"; subfolders are searched with recurse, or count as content with
// foldersCount.
bool IsDirectoryEmpty(const wchar_t* folder, bool recurse, bool foldersCount);
// Deletes the folder and then each parent while it is empty.
void RemoveEmptyParents(const wchar_t* folder);
// An unused name for a temporary file: the folder (the product's temp folder when empty), the
// name's title, " - <thread number>" when asked, the name's extension.
OvString MakeTemporaryFileName(const wchar_t* baseFolder, bool addThreadNumber, const wchar_t* name);
// A byte count for people: "%d bytes" below 1 KB, else scaled to KB ... PB with one decimal
// below 100 and none from 100 on, in the locale's decimal separator; '-' for negative counts.
OvString FormatSize(int64_t bytes);
// Free space of the volume holding the path (a single letter names a drive).
bool GetFreeDiskSpace(const wchar_t* path, int64_t* freeToCaller, int64_t* total, int64_t* totalFree);
