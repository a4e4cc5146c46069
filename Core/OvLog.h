#pragma once
// Writing to the tools library's log under a scope ("Class::Operation").
// Lines written before the tools library is loaded are kept and handed over once it is.

#include "OvString.h"

#include <windows.h>

void OvLogWrite(const wchar_t* scope, const wchar_t* text);
// Hands the kept lines to the tools library's log (called once the library is loaded).
void OvLogFlushPending();

// Writes "Start" when made and "Finish (<n> ms)" when destroyed.
class OvLogScope {
public:
    explicit OvLogScope(const wchar_t* scope);
    ~OvLogScope();
    OvLogScope(const OvLogScope&) = delete;
    OvLogScope& operator=(const OvLogScope&) = delete;

    void Log(const wchar_t* text) const { OvLogWrite(scope_, text); }

private:
    OvString scope_;
    DWORD start_;
};
