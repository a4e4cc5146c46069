#pragma once
// The per-process information block: a named shared-memory block through which every module of
// one process (the product's run-time libraries included) finds the product's folders.

#include "OvString.h"

#include <windows.h>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct OvProcessInfoBlock {
    static constexpr int kPathUnits = 260;

    uint8_t initialised;
    uint8_t pad1;
    wchar_t programFile[kPathUnits];
    wchar_t pad2;
    wchar_t installFolder[kPathUnits];
    wchar_t pad3;
    wchar_t dataRootFolder[kPathUnits];
    wchar_t pad4;
    wchar_t librariesFolder[kPathUnits];
    wchar_t pad5;
    wchar_t applicationDataFolder[kPathUnits];
    wchar_t pad6;
    uint8_t installer;
    uint8_t pad7[3];
    uint32_t threadId;
    uint32_t settingsRootKey;
    uint8_t portable;
    uint8_t pad8[535];
    int32_t reserved3160;
    int32_t reserved3164;
    int32_t reserved3168;
    uint8_t pad9[4];
};
#pragma pack(pop)

static_assert(offsetof(OvProcessInfoBlock, programFile) == 2);
static_assert(offsetof(OvProcessInfoBlock, installFolder) == 524);
static_assert(offsetof(OvProcessInfoBlock, dataRootFolder) == 1046);
static_assert(offsetof(OvProcessInfoBlock, librariesFolder) == 1568);
static_assert(offsetof(OvProcessInfoBlock, applicationDataFolder) == 2090);
static_assert(offsetof(OvProcessInfoBlock, installer) == 2612);
static_assert(offsetof(OvProcessInfoBlock, threadId) == 2616);
static_assert(offsetof(OvProcessInfoBlock, settingsRootKey) == 2620);
static_assert(offsetof(OvProcessInfoBlock, portable) == 2624);
static_assert(offsetof(OvProcessInfoBlock, reserved3160) == 3160);
static_assert(offsetof(OvProcessInfoBlock, reserved3168) == 3168);
static_assert(sizeof(OvProcessInfoBlock) == 3176);

class OvProcessInfo {
public:
    static constexpr int kBlockVersion = 23;

    // The block of this process, created and filled once (under a lock) on first use;
    // null only when the system refuses the shared memory.
    static OvProcessInfoBlock* Block();
    // "Orvane Process v23 (<process id>)"
    static OvString BlockName(DWORD processId);

    static void SetInstallerFlag(bool installer);
    // Full path of the program file recorded in the block.
    static OvString GetProgramFile();

    // A text field of the block (259 units and the terminator). A longer path is not cut into
    // another, wrong folder: the field is emptied and the answer is false.
    static bool StorePath(wchar_t (&field)[OvProcessInfoBlock::kPathUnits], const wchar_t* path);
    static OvString ReadPath(const wchar_t (&field)[OvProcessInfoBlock::kPathUnits]);

private:
    static void Fill(OvProcessInfoBlock* block);
};
