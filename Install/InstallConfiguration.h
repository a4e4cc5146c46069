#pragma once
// The installer's one record of command-line flags, Install.xml values, wizard choices,
// previous-installation findings and copy results. Touched only on the user-interface thread.

#include "OvStringArray.h"

struct InstallConfiguration {
    bool silent = false;
    bool upgrade = false;
    bool express = false;
    bool portable = false;
    bool autoInstallStarted = false;
    bool previousInstallFound = false;
    bool allowDowngrade = true;
    bool noAssociations = false;
    bool noDependencies = false;
    bool noUpgrade = false;
    bool noRun = false;
    bool noDriver = false;
    bool filesDeferred = false;
    bool shellExtensionCopied = true;
    OvString installDirectory;
    OvString uninstallKeyName;
    OvStringArray supportFolders;
    OvString libraryFolder;
    OvString bundledMediaFolder;
    OvString distributorId;
    OvStringArray otherInstallFolders;
    OvStringArray deferredFileOperations;
    OvStringArray deferredRegistrations;
};

// The process's record.
InstallConfiguration& InstallConfig();

// Reads the command line (the arguments joined by blanks) into the record. Always true.
bool ParseCommandLine(const wchar_t* text);
// Reads the distribution's settings (the installer's "Support\\" and "Library\\" folders, then
// Install.xml beside the installer or one folder above it) into the record. Always true.
bool ReadInstallXml();
// The first support folder joined with relativeName; with mustExist, the first such file that
// exists, or empty text when none does.
OvString FindSupportFile(const wchar_t* relativeName, bool mustExist);
// Every file with the extension in the support folders and their subfolders, folder by folder.
OvStringArray FindSupportFiles(const wchar_t* extension);

// For tests: the folder taken as the installer's own; empty text goes back to the program's folder.
void SetInstallerFolderOverride(const wchar_t* folder);
