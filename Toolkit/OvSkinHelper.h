#pragma once
// Skin look-up helpers of the toolkit.

#include "OvString.h"

namespace OvSkinHelper {
// The skin path that a skin setting names (the setting itself; empty when none).
OvString SkinPathFromSetting(const wchar_t* setting);
// Whether a skin of that name is present in the skin folder (it has its "main.xml").
bool IsSkinPresent(const wchar_t* skinFolder, const wchar_t* name);
}
