#include "SkinService.h"

#include "LogFile.h"
#include "OvFileSystem.h"

void SkinService::SetTitleBarIcon(const wchar_t* name)
{
    icon_ = name;
    log_.Log(L"SkinService::SetTitleBarIcon", name);
}

bool SkinService::LoadSkin(const wchar_t* folder)
{
    OvString path = EnsureTrailingBackslash(folder);
    if (!DirectoryExists(path)) {
        log_.Log(L"SkinService::LoadSkin", L"No skin folder " + path);
        return false;
    }
    folder_ = path;
    log_.Log(L"SkinService::LoadSkin", path);
    return true;
}
