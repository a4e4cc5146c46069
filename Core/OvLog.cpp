#include "OvLog.h"

#include "OvProductLibraries.h"
#include "OvStringFormat.h"
#include "OvToolsInterface.h"

#include <mutex>
#include <utility>
#include <vector>

namespace {

constexpr size_t kMaxPending = 1000;

std::mutex& PendingLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<std::pair<OvString, OvString>>& Pending()
{
    static auto* lines = new std::vector<std::pair<OvString, OvString>>();
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
    if (Pending().size() < kMaxPending) Pending().emplace_back(OvString(scope), OvString(text));
}

void OvLogFlushPending()
{
    IOvDiagnostics* log = Diagnostics();
    if (!log) return;
    std::vector<std::pair<OvString, OvString>> lines;
    {
        std::lock_guard<std::mutex> guard(PendingLock());
        lines.swap(Pending());
    }
    for (const auto& [scope, text] : lines) log->Log(scope, text);
}

OvLogScope::OvLogScope(const wchar_t* scope) : scope_(scope), start_(GetTickCount())
{
    OvLogWrite(scope_, L"Start");
}

OvLogScope::~OvLogScope()
{
    OvLogWrite(scope_, OvFormat(L"Finish (%d ms)", static_cast<int64_t>(GetTickCount() - start_)));
}
