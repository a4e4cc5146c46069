#include "OvProcessInfo.h"

#include "OvFileSystem.h"
#include "OvLock.h"
#include "OvProductPaths.h"
#include "OvSharedMemory.h"
#include "OvStringFormat.h"

#include <cstring>
#include <cwchar>


OvString OvProcessInfo::BlockName(DWORD processId)
{
    return OvFormat(L"Orvane Process v%d (%d)", kBlockVersion, static_cast<int64_t>(processId));
}

OvProcessInfoBlock* OvProcessInfo::Block()
{
    static auto* lock = new OvLock();
    // Kept open for the life of the process (never destroyed, so static destructors may use it).
    static OvSharedMemory* memory = new OvSharedMemory();
    OvLockGuard guard(*lock);
    if (memory->IsOpen()) return static_cast<OvProcessInfoBlock*>(memory->Data());
    if (!memory->Open(BlockName(GetCurrentProcessId()), sizeof(OvProcessInfoBlock))) return nullptr;
    auto* block = static_cast<OvProcessInfoBlock*>(memory->Data());
    if (!block->initialised) Fill(block);
    return block;
}

bool OvProcessInfo::StorePath(wchar_t (&field)[OvProcessInfoBlock::kPathUnits], const wchar_t* path)
{
    if (!path) path = L"";
    const size_t length = wcslen(path);
    const bool fits = length < OvProcessInfoBlock::kPathUnits;
    wmemset(field, 0, OvProcessInfoBlock::kPathUnits);
    if (fits) wmemcpy(field, path, length);
    return fits;
}

OvString OvProcessInfo::ReadPath(const wchar_t (&field)[OvProcessInfoBlock::kPathUnits])
{
    return OvString(field, OvProcessInfoBlock::kPathUnits - 1);
}

void OvProcessInfo::Fill(OvProcessInfoBlock* block)
{
    memset(block, 0, sizeof *block);
    block->initialised = 1;
    const OvString program = ::GetProgramFile();
    StorePath(block->programFile, program);
    const OvString programFolder = GetFolderOfPath(program);
    bool portable = false;
    const OvString install =
        EnsureTrailingBackslash(ResolveInstallPath(L"", programFolder, programFolder, &portable));
    StorePath(block->installFolder, install);
    StorePath(block->dataRootFolder, install);
    StorePath(block->librariesFolder, install);
    block->portable = portable ? 1 : 0;
    block->settingsRootKey = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER));
    block->threadId = GetCurrentThreadId();
    StorePath(block->applicationDataFolder,
              portable ? install + L"Application Data\\" : GetUserApplicationDataFolder());
    block->reserved3160 = -1;
    block->reserved3164 = -1;
    block->reserved3168 = 99;
}

void OvProcessInfo::SetInstallerFlag(bool installer)
{
    if (OvProcessInfoBlock* block = Block()) block->installer = installer ? 1 : 0;
}

OvString OvProcessInfo::GetProgramFile()
{
    OvProcessInfoBlock* block = Block();
    return block ? ReadPath(block->programFile) : OvString();
}
