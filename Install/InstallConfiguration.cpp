#include "InstallConfiguration.h"

#include "OvProductPaths.h"

namespace {
InstallConfiguration configuration;
}

InstallConfiguration& InstallConfig()
{
    return configuration;
}

bool ReadInstallXml()
{
    InstallConfiguration& config = InstallConfig();
    const OvString folder = GetProgramFolder();
    config.supportFolders.Add(folder + L"Support\\");
    config.libraryFolder = folder + L"Library\\";
    // Install.xml itself ("OvIC" root, "Settings" values) is read once the XML reader is in place.
    return true;
}
