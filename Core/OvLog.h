#pragma once
// Writing to the tools library's log under a scope ("Class::Operation").
// Lines written before the tools library is loaded are kept and handed over once it is.

#include "OvString.h"
#include "OvStringFormat.h"
#include "OvTimerLowPrecision.h"

#include <windows.h>

void OvLogWrite(const wchar_t* scope, const wchar_t* text);
// Hands the kept lines to the tools library's log (called once the library is loaded).
void OvLogFlushPending();

// A report of library code: the format filled with the arguments (see OvFormat).
template <class... Args>
void OvLogReport(const wchar_t* scope, const wchar_t* format, const Args&... args)
{
    OvLogWrite(scope, OvFormat(format, args...));
}

// Writes "Start" when made and "Finish (<n> ms)" when destroyed, or
// "Finish (result: <r>) (<n> ms)" when a result was set. A disabled scope writes nothing.
class OvLogScope {
public:
    explicit OvLogScope(const wchar_t* scope, bool enabled = true);
    ~OvLogScope();
    OvLogScope(const OvLogScope&) = delete;
    OvLogScope& operator=(const OvLogScope&) = delete;

    void SetResult(int result)
    {
        result_ = result;
        hasResult_ = true;
    }
    void Log(const wchar_t* text) const
    {
        if (enabled_) OvLogWrite(scope_, text);
    }

private:
    OvString scope_;
    OvTimerLowPrecision timer_;
    bool enabled_;
    bool hasResult_ = false;
    int result_ = 0;
};
