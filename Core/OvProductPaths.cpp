#include "OvProductPaths.h"

#include "OvFileSystem.h"
#include "OvProcessInfo.h"
#include "OvProductLibraries.h"
#include "OvStringArray.h"
#include "OvStringFormat.h"
#include "OvStringNumbers.h"
#include "OvStringSearch.h"
#include "OvXmlDocument.h"

#include <cmath>

#include <windows.h>
#include <shlobj.h>

namespace {

OvString ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return OvString();
    return FolderResult(path);
}

OvString ReadRegistryText(HKEY root, const wchar_t* keyPath, const wchar_t* name)
{
    HKEY key;
    if (RegOpenKeyExW(root, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return OvString();
    OvString text;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        int units = static_cast<int>(size / sizeof(wchar_t));
        wchar_t* buffer = text.GetBuffer(units + 1);
        buffer[units] = 0;
        bool ok = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
                  ERROR_SUCCESS;
        text.ReleaseBuffer(ok ? -1 : 0);
    }
    RegCloseKey(key);
    return text;
}

// Path is a prefix of folder, ignoring case, over the length of path.
bool IsPrefixOf(const OvString& path, const OvString& folder)
{
    return !path.IsEmpty() && folder.StartsWithNoCase(path);
}

}  // namespace

OvString FolderResult(const wchar_t* pathText)
{
    OvString path(pathText);
    if (path.IsEmpty()) return path;
    DWORD n = GetLongPathNameW(path, nullptr, 0);
    if (n > 0) {
        OvString longPath;
        DWORD got = GetLongPathNameW(path, longPath.GetBuffer(static_cast<int>(n)), n);
        longPath.ReleaseBuffer(got > 0 && got < n ? static_cast<int>(got) : 0);
        if (!longPath.IsEmpty()) path = longPath;
    }
    return EnsureTrailingBackslash(path);
}

OvString GetProgramFile()
{
    OvString path;
    for (int size = MAX_PATH;; size *= 2) {
        wchar_t* buffer = path.GetBuffer(size);
        DWORD n = GetModuleFileNameW(nullptr, buffer, size);
        if (n < static_cast<DWORD>(size) || size >= 32768) {
            path.ReleaseBuffer(static_cast<int>(n < static_cast<DWORD>(size) ? n : 0));
            return path;
        }
    }
}

OvString GetProgramFolder()
{
    return FolderResult(GetFolderOfPath(GetProgramFile()));
}

OvString ResolveInstallPath(const wchar_t* wanted, bool* portable)
{
    return ResolveInstallPath(wanted, GetFolderOfPath(OvProcessInfo::GetProgramFile()),
                              GetFolderOfPath(GetProgramFile()), portable);
}

OvString ResolveInstallPath(const wchar_t* wantedText, const OvString& blockProgramFolder,
                            const OvString& runningProgramFolder, bool* portable)
{
    if (portable) *portable = false;
    if (!blockProgramFolder.IsEmpty() && FileExists(EnsureTrailingBackslash(blockProgramFolder) + kPortableMarkerName)) {
        if (portable) *portable = true;
        return blockProgramFolder;
    }
    const OvString wanted(wantedText);
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallationsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return OvString();
    OvString first;
    OvString chosen;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        OvString path = ReadRegistryText(HKEY_LOCAL_MACHINE, OvString(kInstallationsKey) + L"\\" + name, L"Path");
        if (path.IsEmpty()) continue;
        if (!wanted.IsEmpty()) {
            if (path.EqualsNoCase(wanted)) {
                chosen = path;
                break;
            }
            continue;
        }
        if (IsPrefixOf(path, blockProgramFolder) || IsPrefixOf(path, runningProgramFolder)) {
            chosen = path;
            break;
        }
        if (first.IsEmpty()) first = path;
    }
    RegCloseKey(key);
    if (chosen.IsEmpty() && wanted.IsEmpty()) chosen = first;
    return chosen;
}

OvString GetInstallFolder()
{
    OvProcessInfoBlock* block = OvProcessInfo::Block();
    return block ? FolderResult(OvProcessInfo::ReadPath(block->installFolder)) : OvString();
}

void SetInstallFolder(const wchar_t* path, bool alsoData, bool log)
{
    OvProcessInfoBlock* block = OvProcessInfo::Block();
    if (!block) return;
    const OvString folder = EnsureTrailingBackslash(path);
    OvProcessInfo::StorePath(block->installFolder, folder);
    if (alsoData) {
        OvProcessInfo::StorePath(block->dataRootFolder, folder);
        OvProcessInfo::StorePath(block->librariesFolder, folder);
    }
    if (log && GetToolsInterface(false))
        OutputDebugStringW(OvFormat(L"Orvane install path (process: %d): %s\r\n",
                                    static_cast<int64_t>(GetCurrentProcessId()), folder));
}

void SetDataRootFolder(const wchar_t* path)
{
    if (OvProcessInfoBlock* block = OvProcessInfo::Block())
        OvProcessInfo::StorePath(block->dataRootFolder, EnsureTrailingBackslash(path));
}

void SetLibrariesFolder(const wchar_t* path)
{
    if (OvProcessInfoBlock* block = OvProcessInfo::Block())
        OvProcessInfo::StorePath(block->librariesFolder, EnsureTrailingBackslash(path));
}

OvString GetLibrariesFolder()
{
    OvProcessInfoBlock* block = OvProcessInfo::Block();
    return block ? FolderResult(OvProcessInfo::ReadPath(block->librariesFolder)) : OvString();
}

OvString GetDataFolder()
{
    OvProcessInfoBlock* block = OvProcessInfo::Block();
    OvString root = block ? OvProcessInfo::ReadPath(block->dataRootFolder) : OvString();
    if (root.IsEmpty() && block) root = OvProcessInfo::ReadPath(block->installFolder);
    return FolderResult(EnsureTrailingBackslash(root) + L"Data");
}

OvString GetApplicationDataFolder()
{
    OvProcessInfoBlock* block = OvProcessInfo::Block();
    return block ? FolderResult(OvProcessInfo::ReadPath(block->applicationDataFolder)) : OvString();
}

bool IsPortableInstallation()
{
    OvProcessInfoBlock* block = OvProcessInfo::Block();
    return block && block->portable;
}

OvString GetGenericFolder()
{
    OvString folder;
    if (OvProductInfo* product = GetProductInfo()) {
        OvDllString receiver(folder);
        product->QueryProductFolder(receiver);
    }
    if (!folder.IsEmpty()) return FolderResult(folder);
    OvString appData = GetApplicationDataFolder();
    return appData.IsEmpty() ? appData : FolderResult(appData + L"Orvane\\Generic");
}

OvString GetTempFolder()
{
    OvString folder;
    if (IOvSettingsSection* properties = GetSettingsSection(L"Properties")) {
        OvDllString receiver(folder);
        properties->QueryString(L"File Location - Temp Location", L"", receiver);
    }
    if (!folder.IsEmpty()) {
        folder = EnsureTrailingBackslash(folder) + L"Orvane\\";
        if (!CreateDirectoryPath(folder, false)) folder.Empty();
    }
    if (folder.IsEmpty()) {
        OvString generic = GetGenericFolder();
        if (!generic.IsEmpty()) {
            folder = generic + L"Temp\\";
            if (!CreateDirectoryPath(folder, false)) folder.Empty();
        }
    }
    return FolderResult(folder);
}

OvString GetMyMusicFolder()
{
    OvString folder = ShellFolder(CSIDL_MYMUSIC);
    if (!folder.IsEmpty()) return folder;
    folder = ShellFolder(CSIDL_PERSONAL);
    if (folder.IsEmpty()) {
        OvString install = GetInstallFolder();
        if (!install.IsEmpty()) folder = GetFolderOfPath(install.Left(install.Length() - 1));
    }
    const bool hasMyMusic = OvTextSearch(false).Find(folder, folder.Length(), L"My Music", 8, 0) >= 0;
    return hasMyMusic ? FolderResult(folder) : FolderResult(EnsureTrailingBackslash(folder) + L"My Music");
}

OvString GetStoredSkinPath()
{
    OvProductInfo* product = GetProductInfo();
    const OvString key =
        product ? product->GetString(L"/*/General/MegaSkinKey", L"Standard View Skin") : OvString(L"Standard View Skin");
    OvString folder;
    if (IOvSettingsSection* properties = GetSettingsSection(L"Properties")) {
        OvDllString receiver(folder);
        properties->QueryString(key, L"", receiver);
    }
    folder = EnsureTrailingBackslash(folder);
    return IsStandardViewSkin(folder) ? folder : OvString();
}

bool IsStandardViewSkin(const wchar_t* folderText)
{
    const OvString folder(folderText);
    if (folder.IsEmpty()) return false;
    OvXmlDocument document;
    if (!document.LoadFile(EnsureTrailingBackslash(folder) + L"main.xml") && document.GetText().IsEmpty()) return false;
    if (!document.FindElement(L"/KDMS")) return false;
    const int root = document.GetCurrentElement();

    OvProductInfo* product = GetProductInfo();
    OvStringArray styles;
    styles.Split(product ? product->GetString(L"/*/General/MegaSkinStyles", L"") : OvString(), L";");
    if (styles.IsEmpty()) styles.Add(OvString());

    const float version = static_cast<float>(ParseDouble(document.GetAttribute(root, L"version")));
    if (!(fabsf(version - 3.0f) < 0.01f)) return false;
    if (styles.FindInArray(document.GetAttribute(root, L"style"), false) < 0) return false;
    return document.FindChildElement(L"MAINFRAME", true);
}

OvString GetSkinsFolder()
{
    OvString install = GetInstallFolder();
    return install.IsEmpty() ? install : FolderResult(install + L"Skins");
}

OvString GetMiniViewSkinsFolder()
{
    return FolderResult(GetSkinsFolder() + L"Mini View");
}

OvString GetStandardViewSkinsFolder()
{
    return FolderResult(GetSkinsFolder() + L"Standard View");
}

OvString GetLoungeViewSkinsFolder()
{
    return FolderResult(GetSkinsFolder() + L"Lounge View");
}

OvString GetProgramFilesFolder()
{
    OvString folder =
        ReadRegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir");
    return FolderResult(folder.IsEmpty() ? OvString(L"C:\\Program Files\\") : folder);
}

OvString GetSystemFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    UINT n = GetSystemDirectoryW(path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? FolderResult(path) : OvString();
}

OvString GetWindowsFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryW(path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? FolderResult(path) : OvString();
}

OvString GetFontsFolder()
{
    OvString windows = GetWindowsFolder();
    return windows.IsEmpty() ? windows : FolderResult(windows + L"Fonts");
}

OvString GetCommonProgramsFolder() { return ShellFolder(CSIDL_COMMON_PROGRAMS); }
OvString GetCommonDesktopFolder() { return ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY); }
OvString GetUserApplicationDataFolder() { return ShellFolder(CSIDL_APPDATA); }
