#include "OvApp.h"

#include "OvProductLibraries.h"

#include <objbase.h>
#include <ole2.h>

OvApp* OvApp::current_ = nullptr;

OvApp::OvApp()
{
    current_ = this;
}

OvApp::~OvApp()
{
    if (current_ == this) current_ = nullptr;
}

BOOL OvApp::LibraryEntry(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) instance_ = instance;
    return TRUE;
}

int OvApp::Run(HINSTANCE instance, HINSTANCE, int show)
{
    instance_ = instance;
    show_ = show;
    if (Startup()) RunMessageLoop();
    Shutdown();
    return exitCode_;
}

int OvApp::Run()
{
    return Run(GetModuleHandleW(nullptr), nullptr, SW_SHOWNORMAL);
}

bool OvApp::Startup()
{
    InitializeOle();
    InstallCrashHandler();
    return LoadToolsLibrary();
}

void OvApp::Shutdown()
{
    UnloadProductLibraries(true);
    UninitializeOle();
}

void OvApp::RunMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool OvApp::LoadToolsLibrary()
{
    return LoadProductInformation(true, false);
}

bool OvApp::InitializeOle()
{
    if (!oleInitialized_ && SUCCEEDED(OleInitialize(nullptr))) oleInitialized_ = true;
    return oleInitialized_;
}

void OvApp::UninitializeOle()
{
    if (oleInitialized_) {
        OleUninitialize();
        oleInitialized_ = false;
    }
}

void OvApp::InstallCrashHandler()
{
    // The crash handler is installed by the programs that report crashes; none does yet.
}
