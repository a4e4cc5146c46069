#include "InstallConfiguration.h"

#include "OvFileSystem.h"
#include "OvLog.h"
#include "OvProductPaths.h"
#include "OvStringFormat.h"
#include "OvStringNumbers.h"
#include "OvXmlDocument.h"

#include <windows.h>

namespace {

InstallConfiguration configuration;
OvString installerFolderOverride;

OvString InstallerFolder()
{
    return installerFolderOverride.IsEmpty() ? GetProgramFolder() : EnsureTrailingBackslash(installerFolderOverride);
}

// A folder named in Install.xml: relative paths are taken from the folder of that file ("..\\"
// steps allowed), absolute and network paths stay as they are. With a trailing backslash.
OvString ResolveFolder(const OvString& path, const OvString& base)
{
    const bool absolute = path[0] == L'\\' || path[0] == L'/' || (path.Length() >= 2 && path[1] == L':');
    if (absolute) return EnsureTrailingBackslash(path);
    return EnsureTrailingBackslash(GetFullPath(base + path));
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

    OvString file = folder + L"Install.xml";
    if (!FileExists(file)) file = folder + L"..\\Install.xml";
    OvLogScope scope(L"ReadInstallXml");
    const wchar_t* state = L"read";
    OvXmlDocument doc;
    if (!doc.LoadFile(file)) {
        state = L"not loaded";
    } else if (!doc.FindElement(L"/OvIC") ||
               ParseDouble(doc.GetAttribute(doc.GetCurrentElement(), L"version")) < 1) {
        state = L"not an install configuration";
    } else if (!doc.FindChildElement(L"Settings", true) || !doc.EnterElement()) {
        state = L"no settings";
    } else {
        const OvString base = GetFolderOfPath(file);
        const OvString support = doc.GetChildText(L"SupportFiles");
        if (!support.IsEmpty()) {
            const OvString supportFolder = ResolveFolder(support, base);
            if (DirectoryExists(supportFolder)) config.supportFolders.Add(supportFolder);
        }
        const OvString allow = doc.GetChildText(L"AllowDowngrade");
        if (!allow.IsEmpty()) config.allowDowngrade = ParseInt(allow) != 0;
        const OvString media = doc.GetChildText(L"BundledMedia");
        if (!media.IsEmpty()) {
            const OvString mediaFolder = ResolveFolder(media, base);
            if (DirectoryExists(mediaFolder)) config.bundledMediaFolder = mediaFolder;
        }
    }
    scope.Log(OvFormat(L"Install.xml: %s (%s)", file, state));
    OvString folders;
    for (const OvString& f : config.supportFolders) folders += (folders.IsEmpty() ? L"" : L"; ") + f;
    scope.Log(L"Support folders: " + folders);
    scope.Log(OvFormat(L"Allow downgrade: %d; bundled media folder: %s", config.allowDowngrade ? 1 : 0,
                       config.bundledMediaFolder.IsEmpty() ? OvString(L"(none)") : config.bundledMediaFolder));
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
