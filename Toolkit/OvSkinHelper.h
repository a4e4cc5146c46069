#pragma once
// Skin look-up helpers of the toolkit.

#include "OvString.h"

namespace OvSkinHelper {
// The skin path for a preferred skin name: the user's stored standard-view skin when there is one,
// else the name itself.
OvString SkinPathFromSetting(const wchar_t* setting);
// Whether the named skin in the skin folder is a standard-view skin.
bool IsSkinPresent(const wchar_t* skinFolder, const wchar_t* name);
}
