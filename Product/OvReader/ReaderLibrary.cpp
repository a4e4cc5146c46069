// The product's reader library "OvReader.dll": its initialise and uninitialise entries. The reader
// entries come with the downloading code; until then the library has none.

#include "StandInRecord.h"

#include <string>

namespace {

std::wstring Call(const wchar_t* name, bool flag)
{
    return std::wstring(name) + (flag ? L"(1)" : L"(0)");
}

}  // namespace

extern "C" __declspec(dllexport) void OvReaderInitialize(bool flag)
{
    StandInRecord(Call(L"OvReaderInitialize", flag).c_str());
}

extern "C" __declspec(dllexport) void OvReaderUninitialize(bool flag)
{
    StandInRecord(Call(L"OvReaderUninitialize", flag).c_str());
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        StandInRecord(L"attach");
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        StandInRecord(L"detach");
    }
    return TRUE;
}
