#pragma once
// The install wizard: a modal frame that shows the pages in their fixed order.

#include <windows.h>

class CInstallWizard {
public:
    enum Result { kFinished, kCancelled };

    virtual ~CInstallWizard() = default;
    // Runs the wizard modally; answers how it ended.
    virtual Result RunModal(HWND owner);
};
