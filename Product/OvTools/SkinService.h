#pragma once
// The skin service: remembers the title-bar icon name and the loaded skin folder.

#include "OvToolsInterface.h"

class LogFile;

class SkinService : public IOvSkinService {
public:
    explicit SkinService(LogFile& log) : log_(log) {}

    void SetTitleBarIcon(const wchar_t* name) override;
    bool LoadSkin(const wchar_t* folder) override;
    void QuerySkinFolder(OvDllString& folder) override { folder.Set(folder_); }

private:
    LogFile& log_;
    OvString icon_;
    OvString folder_;
};
