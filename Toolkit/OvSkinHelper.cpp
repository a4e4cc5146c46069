#include "OvSkinHelper.h"

#include "OvFileSystem.h"
#include "OvProductPaths.h"

namespace OvSkinHelper {

OvString SkinPathFromSetting(const wchar_t* setting)
{
    OvString stored = GetStoredSkinPath();
    if (!stored.IsEmpty()) return stored;
    OvString path(setting);
    path.Trim();
    return path;
}

bool IsSkinPresent(const wchar_t* skinFolder, const wchar_t* name)
{
    OvString skin(name);
    if (skin.IsEmpty() || skin.Find(L'\\') >= 0 || skin.Find(L'/') >= 0 || skin.Equals(L"..") || skin.Equals(L"."))
        return false;
    return IsStandardViewSkin(EnsureTrailingBackslash(skinFolder) + skin);
}

}  // namespace OvSkinHelper
