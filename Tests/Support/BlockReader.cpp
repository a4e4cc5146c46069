// A second module for the process-block tests: finds the block of its process by name and reads
// it through the block's layout, without the base library's accessors.

#include "OvProcessInfo.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

extern "C" __declspec(dllexport) bool ReadBlockOfThisProcess(wchar_t* installFolder, int units, int* installer)
{
    wchar_t name[64];
    swprintf(name, 64, L"Orvane Process v%d (%lu)", 23, GetCurrentProcessId());
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name);
    if (!mapping) return false;
    auto* block = static_cast<const OvProcessInfoBlock*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    bool ok = block != nullptr;
    if (ok) {
        wcsncpy(installFolder, block->installFolder, units - 1);
        installFolder[units - 1] = 0;
        *installer = block->installer;
        UnmapViewOfFile(block);
    }
    CloseHandle(mapping);
    return ok;
}
