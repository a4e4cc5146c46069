#pragma once
// An application object of a program with windows: at exit it unregisters the window classes
// that the toolkit registered for it.

#include "OvExecutableApp.h"

class OvGraphicalApp : public OvExecutableApp {
public:
    void Shutdown() override;

    // Window classes registered by the toolkit, unregistered at Shutdown.
    static void RecordWindowClass(const wchar_t* name);
    static void UnregisterWindowClasses(HINSTANCE instance);
};
