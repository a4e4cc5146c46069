#include "CInstallWizard.h"

#include "OvLog.h"

CInstallWizard::Result CInstallWizard::RunModal(HWND)
{
    // Hook: the frame and its pages are not built yet; the wizard ends at once as finished.
    OvLogScope scope(L"CInstallWizard::RunModal");
    scope.Log(L"No pages are built yet");
    return kFinished;
}
