#include "OvSkinHelper.h"

#include "OvFileSystem.h"

namespace OvSkinHelper {

OvString SkinPathFromSetting(const wchar_t* setting)
{
    OvString path(setting);
    path.Trim();
    return path;
}

bool IsSkinPresent(const wchar_t* skinFolder, const wchar_t* name)
{
    OvString skin(name);
    if (skin.IsEmpty() || skin.Find(L'\\') >= 0 || skin.Find(L'/') >= 0 || skin.Equals(L"..") || skin.Equals(L"."))
        return false;
    return FileExists(EnsureTrailingBackslash(skinFolder) + skin + L"\\main.xml");
}

}  // namespace OvSkinHelper
