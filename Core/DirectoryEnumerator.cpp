#include "DirectoryEnumerator.h"

#include "OvFileSystem.h"

DirectoryEnumerator::~DirectoryEnumerator()
{
    Close();
}

void DirectoryEnumerator::Close()
{
    if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
    find_ = INVALID_HANDLE_VALUE;
    valid_ = false;
}

bool DirectoryEnumerator::Start(const wchar_t* folder)
{
    Close();
    folder_ = EnsureTrailingBackslash(folder);
    if (folder_.IsEmpty() || !FolderExists(folder_)) return false;
    find_ = FindFirstFileW(WithLongPathPrefix(folder_ + L"*.*"), &data_);
    if (find_ == INVALID_HANDLE_VALUE) return false;
    valid_ = true;
    return Take() || Next();
}

bool DirectoryEnumerator::Next()
{
    while (valid_) {
        if (!FindNextFileW(find_, &data_)) {
            Close();
            return false;
        }
        if (Take()) return true;
    }
    return false;
}

bool DirectoryEnumerator::Take()
{
    if (wcscmp(data_.cFileName, L".") == 0 || wcscmp(data_.cFileName, L"..") == 0) return false;
    OvString path = folder_ + data_.cFileName;
    if (IsFolder()) path += L'\\';
    // Entries are file-system names: no unpacking of location texts.
    current_ = OvFileLocation();
    current_.SetPlainPath(path);
    return true;
}
