#pragma once
// A named block of shared memory (a paging-file mapping, mapped whole for reading and writing).

#include "OvString.h"

#include <windows.h>

class OvSharedMemory {
public:
    OvSharedMemory() = default;
    virtual ~OvSharedMemory();
    OvSharedMemory(const OvSharedMemory&) = delete;
    OvSharedMemory& operator=(const OvSharedMemory&) = delete;

    // Creates or opens the block; an earlier block is closed first. On failure nothing stays open.
    bool Open(const wchar_t* name, DWORD size);
    void Close();

    void* Data() const { return view_; }
    const OvString& Name() const { return name_; }
    bool IsOpen() const { return view_ != nullptr; }
    // Whether the block existed before Open (another module or process made it).
    bool Existed() const { return existed_; }

private:
    OvString name_;
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
    bool existed_ = false;
};
