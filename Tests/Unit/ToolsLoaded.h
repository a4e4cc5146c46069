#pragma once
// Test support: the stand-in tools library loaded for a test, the lines this process writes to
// its log, and message pumping.

#include "OvString.h"
#include "ToolsFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

// The tools library loaded from the test's folder (the libraries folder); its log and thread
// service are then available.
class ToolsLoadedTest : public ToolsFolderTest {
protected:
    void SetUp() override;
};

// The lines written by this process to the tools library's log from the time the reader was
// made. The tools library must be loaded then.
class LogReader {
public:
    LogReader();
    // The texts of the lines written under scope.
    std::vector<OvString> Texts(const wchar_t* scope) const;

private:
    OvString path_;
    long long start_ = 0;
};

// Handles the window messages waiting for this thread.
void PumpPendingMessages();

// Handles window messages until done() is true or timeoutMs have passed; the last done().
template <class F>
bool PumpUntil(F done, DWORD timeoutMs = 10000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return done();
        PumpPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
