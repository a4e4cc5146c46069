#pragma once
// The application object: entry points, start-up and shut-down of a program of the product.

#include "OvStringArray.h"

#include <windows.h>

class OvApp {
public:
    OvApp();
    virtual ~OvApp();

    // Entry of a library (process and thread attach and detach).
    virtual BOOL LibraryEntry(HINSTANCE instance, DWORD reason, void* reserved);
    // Program entry: sets the instance, Startup, RunMessageLoop when Startup answered true,
    // Shutdown; answers the exit code.
    virtual int Run(HINSTANCE instance, HINSTANCE previous, int show);
    // Program entry taking the module handle itself.
    virtual int Run();
    virtual bool Startup();
    virtual void Shutdown();
    virtual void RunMessageLoop();
    virtual bool IsStartAllowed() { return true; }
    virtual bool IsExitAllowed() { return true; }
    virtual bool LoadToolsLibrary();
    virtual bool InitializeOle();
    virtual void UninitializeOle();
    virtual void InstallCrashHandler();

    static OvApp* Current() { return current_; }
    HINSTANCE Instance() const { return instance_; }
    int ExitCode() const { return exitCode_; }
    void SetExitCode(int code) { exitCode_ = code; }
    const OvStringArray& Arguments() const { return arguments_; }
    void SetArguments(const OvStringArray& arguments) { arguments_ = arguments; }
    int ShowCommand() const { return show_; }

protected:
    HINSTANCE instance_ = nullptr;
    int show_ = SW_SHOWNORMAL;
    int exitCode_ = 0;
    OvStringArray arguments_;
    bool oleInitialized_ = false;

private:
    static OvApp* current_;
};
