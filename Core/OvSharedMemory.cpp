#include "OvSharedMemory.h"

OvSharedMemory::~OvSharedMemory()
{
    Close();
}

bool OvSharedMemory::Open(const wchar_t* name, DWORD size)
{
    Close();
    if (!name || !*name || size == 0) return false;
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    if (!mapping) return false;
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
    if (!view) {
        CloseHandle(mapping);
        return false;
    }
    name_ = name;
    mapping_ = mapping;
    view_ = view;
    existed_ = existed;
    return true;
}

void OvSharedMemory::Close()
{
    if (view_) UnmapViewOfFile(view_);
    if (mapping_) CloseHandle(mapping_);
    view_ = nullptr;
    mapping_ = nullptr;
    existed_ = false;
    name_.Empty();
}
