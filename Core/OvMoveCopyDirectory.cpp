#include "OvMoveCopyDirectory.h"

#include "DirectoryEnumerator.h"
#include "OvFileSystem.h"

#include <windows.h>

void OvMoveCopyDirectory::Add(const wchar_t* sourceFolder, const wchar_t* targetFolder, bool includeSubfolders)
{
    const OvString source = EnsureTrailingBackslash(sourceFolder);
    const OvString target = EnsureTrailingBackslash(targetFolder);
    items_.push_back({source, target, true, false});
    DirectoryEnumerator entries;
    std::vector<OvString> subfolders;
    for (bool more = entries.Start(source); more; more = entries.Next()) {
        const OvString name(entries.FindData().cFileName);
        if (entries.IsFolder()) {
            if (includeSubfolders) subfolders.push_back(name);
        } else {
            items_.push_back({source + name, target + name, false, false});
        }
    }
    for (const OvString& name : subfolders) Add(source + name, target + name, true);
}

bool OvMoveCopyDirectory::Run(bool move)
{
    if (ran_) return false;
    ran_ = true;
    bool ok = true;
    for (Item& item : items_) {
        if (item.folder) item.done = CreateDirectoryPath(item.target, false);
    }
    for (Item& item : items_) {
        if (!item.folder) item.done = CopyFileW(WithLongPathPrefix(item.source), WithLongPathPrefix(item.target), FALSE);
        ok = ok && item.done;
    }
    if (move) {
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            if (!it->done) continue;
            // An emptied source folder goes; the folders above the job's sources are not ours.
            if (!it->folder)
                OvDeleteFile(it->source);
            else if (IsDirectoryEmpty(it->source, false, true))
                DeleteDirectory(it->source, nullptr, nullptr);
        }
    }
    return ok;
}

int OvMoveCopyDirectory::FileCount() const
{
    int count = 0;
    for (const Item& item : items_) count += item.folder ? 0 : 1;
    return count;
}
