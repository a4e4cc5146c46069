#pragma once
// The installer's process exit codes, for scripted installs.

enum InstallExitCode {
    kExitSuccess = 0,             // the wizard ran to its end
    kExitToolsLibraryFailed = 1,  // the tools library or the product description could not be loaded
    kExitAnotherInstance = 2,     // another installer is running
    kExitChecksFailed = 3,        // a pre-install check refused the installation
    kExitCancelled = 4,           // the user cancelled the wizard
};
