#include "OvGraphicalApp.h"

#include <mutex>

namespace {
std::mutex& ClassLock()
{
    static std::mutex lock;
    return lock;
}

OvStringArray& Classes()
{
    static OvStringArray classes;
    return classes;
}
}  // namespace

void OvGraphicalApp::Shutdown()
{
    OvExecutableApp::Shutdown();
    UnregisterWindowClasses(Instance());
}

void OvGraphicalApp::RecordWindowClass(const wchar_t* name)
{
    std::lock_guard<std::mutex> guard(ClassLock());
    Classes().Add(name);
}

void OvGraphicalApp::UnregisterWindowClasses(HINSTANCE instance)
{
    std::lock_guard<std::mutex> guard(ClassLock());
    for (const OvString& name : Classes()) UnregisterClassW(name, instance);
    Classes().RemoveAll();
}
