#pragma once
// The running program's folders, the product's folders (kept in the process information block)
// and the Windows folders. Folder results end in exactly one backslash; empty stays empty.

#include "OvString.h"

// Name of the file whose presence beside the program marks a portable installation.
constexpr const wchar_t* kPortableMarkerName = L"Portable Installation.dat";
constexpr const wchar_t* kInstallationsKey = L"Software\\Orvane\\Aurora Core\\Installations";

// Full path of the running program file.
OvString GetProgramFile();
// Drive and folder of the running program file.
OvString GetProgramFolder();

// The install folder recorded for this process: portable marker beside the program, else the
// recorded installations (see the source). portable is set when the marker decided.
OvString ResolveInstallPath(const wchar_t* wanted, bool* portable = nullptr);
// The same for given program folders (the block's program and the running program).
OvString ResolveInstallPath(const wchar_t* wanted, const OvString& blockProgramFolder,
                            const OvString& runningProgramFolder, bool* portable);

OvString GetInstallFolder();
// Stores the install folder; alsoData sets the data root and libraries folders to it as well;
// log writes it to the debugger output when the tools library is loaded.
void SetInstallFolder(const wchar_t* path, bool alsoData, bool log);
void SetDataRootFolder(const wchar_t* path);
void SetLibrariesFolder(const wchar_t* path);
OvString GetLibrariesFolder();
OvString GetDataFolder();
OvString GetApplicationDataFolder();
bool IsPortableInstallation();

// The product description's folder answer, else the application-data folder + "Orvane\Generic\".
OvString GetGenericFolder();
// The user's temp location setting + "Orvane\", else the generic folder + "Temp\"; created.
OvString GetTempFolder();
// The shell's My Music folder, else My Documents or the install folder's parent + "My Music".
OvString GetMyMusicFolder();

// The user's chosen standard-view skin folder when it is a standard-view skin, else empty.
OvString GetStoredSkinPath();
// A skin folder whose "main.xml" has the root KDMS, version 3 (within 0.01, in single precision),
// an allowed style and a MAINFRAME child.
bool IsStandardViewSkin(const wchar_t* folder);

OvString GetSkinsFolder();
OvString GetMiniViewSkinsFolder();
OvString GetStandardViewSkinsFolder();
OvString GetLoungeViewSkinsFolder();

OvString GetProgramFilesFolder();
OvString GetSystemFolder();
OvString GetWindowsFolder();
OvString GetFontsFolder();
OvString GetCommonProgramsFolder();
OvString GetCommonDesktopFolder();
OvString GetUserApplicationDataFolder();

// A folder result: long-path form when the folder exists, exactly one trailing backslash.
OvString FolderResult(const wchar_t* path);
