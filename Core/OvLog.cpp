#include "OvLog.h"

#include "OvLock.h"
#include "OvProductLibraries.h"
#include "OvToolsInterface.h"

#include <vector>

namespace {

constexpr size_t kMaxPending = 1000;

OvLock& PendingLock()
{
    static auto* lock = new OvLock();
    return *lock;
}

struct PendingLine {
    SYSTEMTIME time;
    OvString scope;
    OvString text;
};

std::vector<PendingLine>& Pending()
{
    static auto* lines = new std::vector<PendingLine>();
    return *lines;
}

IOvDiagnostics* Diagnostics()
{
    IOvTools* tools = GetToolsInterface(false);
    return tools ? tools->GetDiagnostics() : nullptr;
}

}  // namespace

void OvLogWrite(const wchar_t* scope, const wchar_t* text)
{
    if (IOvDiagnostics* log = Diagnostics()) {
        OvLogFlushPending();
        log->Log(scope, text);
        return;
    }
    OvLockGuard guard(PendingLock());
    if (Pending().size() < kMaxPending) {
        PendingLine line{{}, OvString(scope), OvString(text)};
        GetLocalTime(&line.time);
        Pending().push_back(line);
    }
}

void OvLogFlushPending()
{
    IOvDiagnostics* log = Diagnostics();
    if (!log) return;
    std::vector<PendingLine> lines;
    {
        OvLockGuard guard(PendingLock());
        lines.swap(Pending());
    }
    for (const PendingLine& line : lines) log->LogAt(line.time, line.scope, line.text);
}

OvLogScope::OvLogScope(const wchar_t* scope, bool enabled) : scope_(scope), enabled_(enabled)
{
    if (enabled_) OvLogWrite(scope_, L"Start");
}

OvLogScope::~OvLogScope()
{
    if (!enabled_) return;
    const int64_t elapsed = timer_.Elapsed();
    if (hasResult_)
        OvLogWrite(scope_, OvFormat(L"Finish (result: %d) (%d ms)", result_, elapsed));
    else
        OvLogWrite(scope_, OvFormat(L"Finish (%d ms)", elapsed));
}
