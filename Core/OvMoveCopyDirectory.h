#pragma once
// Copies or moves folder trees: pairs of source and target folders are added (each scanned into
// folder and file items), then the job runs once.

#include "OvString.h"

#include <vector>

class OvMoveCopyDirectory {
public:
    // Records the pair and scans the source: one file item per file, subfolders when asked.
    void Add(const wchar_t* sourceFolder, const wchar_t* targetFolder, bool includeSubfolders);
    // Creates the target folders and copies every file (replacing existing ones); a move then
    // deletes the copied sources and removes the emptied source folders (never a folder above
    // them). True when every folder
    // and file succeeded. A job runs once.
    bool Run(bool move);

    int FileCount() const;

private:
    struct Item {
        OvString source;
        OvString target;
        bool folder;
        bool done;
    };
    std::vector<Item> items_;
    bool ran_ = false;
};
