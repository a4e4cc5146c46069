#include "OvLog.h"

#include "OvProductLibraries.h"
#include "OvStringFormat.h"
#include "OvToolsInterface.h"

#include <mutex>
#include <vector>

namespace {

constexpr size_t kMaxPending = 1000;

std::mutex& PendingLock()
{
    static std::mutex lock;
    return lock;
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
    std::lock_guard<std::mutex> guard(PendingLock());
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
        std::lock_guard<std::mutex> guard(PendingLock());
        lines.swap(Pending());
    }
    for (const PendingLine& line : lines) log->LogAt(line.time, line.scope, line.text);
}

OvLogScope::OvLogScope(const wchar_t* scope) : scope_(scope), start_(GetTickCount())
{
    OvLogWrite(scope_, L"Start");
}

OvLogScope::~OvLogScope()
{
    OvLogWrite(scope_, OvFormat(L"Finish (%d ms)", static_cast<int64_t>(GetTickCount() - start_)));
}
