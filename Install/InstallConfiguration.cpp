#include "InstallConfiguration.h"

#include "OvFileSystem.h"
#include "OvProductPaths.h"

#include <windows.h>

namespace {

InstallConfiguration configuration;
OvString installerFolderOverride;

OvString InstallerFolder()
{
    return installerFolderOverride.IsEmpty() ? GetProgramFolder() : EnsureTrailingBackslash(installerFolderOverride);
}

// Appends the files with the extension (compared ignoring case) in folder and in all its
// subfolders. Stands in for the recursive search of the file-system helpers.
void FindFilesRecursively(const OvString& folder, const OvString& extension, OvStringArray& found)
{
    OvStringArray pending{EnsureTrailingBackslash(folder)};
    while (!pending.IsEmpty()) {
        const OvString current = pending[pending.GetCount() - 1];
        pending.RemoveAt(pending.GetCount() - 1);
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(current + L"*", &data);
        if (find == INVALID_HANDLE_VALUE) continue;
        OvStringArray subfolders;
        do {
            const OvString name(data.cFileName);
            if (name.Equals(L".") || name.Equals(L"..")) continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                // A junction or link may lead back up the tree.
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) subfolders.Add(current + name + L"\\");
                continue;
            }
            const int dot = name.ReverseFind(L'.');
            if (dot >= 0 && name.Mid(dot + 1).EqualsNoCase(extension)) found.Add(current + name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
        // Subfolders are searched in the order found, after the files of their folder.
        for (int i = subfolders.GetCount() - 1; i >= 0; --i) pending.Add(subfolders[i]);
    }
}

}  // namespace

InstallConfiguration& InstallConfig()
{
    return configuration;
}

void SetInstallerFolderOverride(const wchar_t* folder)
{
    installerFolderOverride = folder;
}

bool ReadInstallXml()
{
    InstallConfiguration& config = InstallConfig();
    const OvString folder = InstallerFolder();
    config.supportFolders.Add(folder + L"Support\\");
    config.libraryFolder = folder + L"Library\\";
    return true;
}

OvString FindSupportFile(const wchar_t* relativeName, bool mustExist)
{
    for (const OvString& folder : InstallConfig().supportFolders) {
        const OvString path = folder + relativeName;
        if (!mustExist || FileExists(path)) return path;
    }
    return OvString();
}

OvStringArray FindSupportFiles(const wchar_t* extension)
{
    OvString wanted(extension);
    if (wanted.StartsWith(L".")) wanted = wanted.Mid(1);
    OvStringArray found;
    for (const OvString& folder : InstallConfig().supportFolders) FindFilesRecursively(folder, wanted, found);
    return found;
}
