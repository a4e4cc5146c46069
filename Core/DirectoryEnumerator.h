#pragma once
// Walks the entries of one folder ("." and ".." skipped); folder entries end in a backslash.

#include "OvFileLocation.h"

#include <windows.h>

class DirectoryEnumerator {
public:
    DirectoryEnumerator() = default;
    ~DirectoryEnumerator();
    DirectoryEnumerator(const DirectoryEnumerator&) = delete;
    DirectoryEnumerator& operator=(const DirectoryEnumerator&) = delete;

    // The tools library must report the folder as existing; true when there is a first entry.
    bool Start(const wchar_t* folder);
    // Moves to the next entry; false at the end.
    bool Next();

    bool IsValid() const { return valid_; }
    const OvFileLocation& Current() const { return current_; }
    const WIN32_FIND_DATAW& FindData() const { return data_; }
    bool IsFolder() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

private:
    bool Take();
    void Close();

    bool valid_ = false;
    OvString folder_;
    OvFileLocation current_;
    WIN32_FIND_DATAW data_ = {};
    HANDLE find_ = INVALID_HANDLE_VALUE;
};
