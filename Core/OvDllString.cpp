#include "OvToolsInterface.h"

void OvDllString::Set(const wchar_t* text, int length)
{
    target_ = length < 0 ? OvString(text) : OvString(text, length);
}
