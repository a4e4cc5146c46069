#include "StandInRecord.h"

#include <vector>

namespace {

constexpr const wchar_t* kVariable = L"OV_STANDIN_RECORD";
constexpr DWORD kMaxLength = 16000;

// One lock for every module of the process (each module has its own copy of this code).
HANDLE RecordMutex()
{
    wchar_t name[64];
    wsprintfW(name, L"Local\\OvStandInRecord %lu", GetCurrentProcessId());
    return CreateMutexW(nullptr, FALSE, name);
}

std::wstring ModuleFileName()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleFileName), &module);
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring full(path);
    const size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

}  // namespace

std::wstring StandInRecordRead()
{
    const DWORD size = GetEnvironmentVariableW(kVariable, nullptr, 0);
    if (size == 0) return std::wstring();
    std::vector<wchar_t> value(size + 1);
    const DWORD length = GetEnvironmentVariableW(kVariable, value.data(), size + 1);
    return std::wstring(value.data(), length);
}

void StandInRecord(const wchar_t* event)
{
    HANDLE mutex = RecordMutex();
    if (!mutex) return;
    WaitForSingleObject(mutex, INFINITE);
    if (GetEnvironmentVariableW(kVariable, nullptr, 0) != 0) {
        std::wstring record = StandInRecordRead();
        std::wstring entry = ModuleFileName() + L":" + event + L"|";
        if (record.size() + entry.size() < kMaxLength) SetEnvironmentVariableW(kVariable, (record + entry).c_str());
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

void StandInRecordStart()
{
    // An empty value would read as no variable: the record starts with its separator.
    SetEnvironmentVariableW(kVariable, L"|");
}

void StandInRecordStop()
{
    SetEnvironmentVariableW(kVariable, nullptr);
}
