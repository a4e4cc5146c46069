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
// Reads the distribution's settings into the record. Always true.
bool ReadInstallXml();
