#pragma once
// Folder and file tests. A path is valid when its drive or share can be reached.

#include "OvToolsInterface.h"

class FileSystemService : public IOvFileSystemService {
public:
    bool IsValidPath(const wchar_t* path, int flag) override;
    bool FolderExists(const wchar_t* path, int flag) override;
    bool FileExists(const wchar_t* path, int flag) override;
};
