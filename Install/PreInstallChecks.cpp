#include "PreInstallChecks.h"

#include "OvLog.h"

bool RunPreInstallChecks()
{
    // Hook: the rights, running-copy, processor, system and browser checks and the detection of a
    // previous installation are not built yet, so nothing refuses the installation here.
    OvLogScope scope(L"RunPreInstallChecks");
    scope.Log(L"No checks are built yet");
    return true;
}
