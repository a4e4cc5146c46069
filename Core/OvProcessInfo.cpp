#include "OvProcessInfo.h"

#include "OvFileSystem.h"
#include "OvLock.h"
#include "OvStringFormat.h"

#include <shlobj.h>

#include <cstring>

namespace {

void StorePath(wchar_t (&field)[OvProcessInfoBlock::kPathUnits], const wchar_t* path)
{
    wcsncpy(field, path ? path : L"", OvProcessInfoBlock::kPathUnits - 1);
    field[OvProcessInfoBlock::kPathUnits - 1] = 0;
}

OvString ReadPath(const wchar_t (&field)[OvProcessInfoBlock::kPathUnits])
{
    return OvString(field, OvProcessInfoBlock::kPathUnits - 1);
}

}  // namespace

OvString OvProcessInfo::BlockName(DWORD processId)
{
    return OvFormat(L"Orvane Process v%d (%d)", kBlockVersion, static_cast<int64_t>(processId));
}

OvProcessInfoBlock* OvProcessInfo::Block()
{
    static auto* lock = new OvLock();
    static OvProcessInfoBlock* block = nullptr;
    OvLockGuard guard(*lock);
    if (block) return block;
    // The mapping stays open for the life of the process.
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(OvProcessInfoBlock),
                                        BlockName(GetCurrentProcessId()));
    if (!mapping) return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(OvProcessInfoBlock));
    if (!view) {
        CloseHandle(mapping);
        return nullptr;
    }
    block = static_cast<OvProcessInfoBlock*>(view);
    if (!block->initialised) Fill(block);
    return block;
}

void OvProcessInfo::Fill(OvProcessInfoBlock* block)
{
    memset(block, 0, sizeof *block);
    block->initialised = 1;
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    StorePath(block->programFile, path);
    // The install folder is resolved from the recorded installations by the product paths.
    block->settingsRootKey = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER));
    block->threadId = GetCurrentThreadId();
    wchar_t appData[MAX_PATH + 1] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        StorePath(block->applicationDataFolder, EnsureTrailingBackslash(appData));
    block->reserved3160 = -1;
    block->reserved3164 = -1;
    block->reserved3168 = 99;
}

void OvProcessInfo::SetInstallerFlag(bool installer)
{
    if (OvProcessInfoBlock* block = Block()) block->installer = installer ? 1 : 0;
}

void OvProcessInfo::SetDataRootFolder(const wchar_t* path)
{
    if (OvProcessInfoBlock* block = Block()) StorePath(block->dataRootFolder, EnsureTrailingBackslash(path));
}

void OvProcessInfo::SetLibrariesFolder(const wchar_t* path)
{
    if (OvProcessInfoBlock* block = Block()) StorePath(block->librariesFolder, EnsureTrailingBackslash(path));
}

OvString OvProcessInfo::GetDataRootFolder()
{
    OvProcessInfoBlock* block = Block();
    return block ? ReadPath(block->dataRootFolder) : OvString();
}

OvString OvProcessInfo::GetLibrariesFolder()
{
    OvProcessInfoBlock* block = Block();
    return block ? ReadPath(block->librariesFolder) : OvString();
}

OvString OvProcessInfo::GetProgramFile()
{
    OvProcessInfoBlock* block = Block();
    return block ? ReadPath(block->programFile) : OvString();
}
