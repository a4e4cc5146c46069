#pragma once
// Test support: per-process folders with copies of the built stand-in libraries, the lines this
// process writes to the tools library's log, and message pumping.

#include "OvString.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

// A built file, given by the build as a Unix path (reached through Wine's Z: drive).
OvString BuiltFile(const wchar_t* unixPath);

// "<temp folder><name> <process id>\", made empty; removed with everything in it at the end.
// One folder per process: ctest runs the cases as parallel processes.
class TestFolder {
public:
    explicit TestFolder(const wchar_t* name);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const OvString& Path() const { return path_; }
    // Copies source into the folder (or into a subfolder of it, made when missing) as fileName;
    // the copy's full path, empty when the copy failed.
    OvString Copy(const OvString& source, const wchar_t* fileName, const wchar_t* subfolder = L"");

private:
    OvString path_;
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

// The stand-in tools library, loaded from a folder of this process (the libraries folder) for the
// length of a test; its log and thread service are then available.
class WithToolsLibrary : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<TestFolder> folder_;
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
