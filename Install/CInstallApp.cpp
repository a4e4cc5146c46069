#include "CInstallApp.h"

#include "CInstallWizard.h"
#include "InstallConfiguration.h"
#include "InstallExitCode.h"
#include "MessageBoxes.h"
#include "OvExecutableApp.h"
#include "OvFileSystem.h"
#include "OvLog.h"
#include "OvProcessInfo.h"
#include "OvProductLibraries.h"
#include "OvProductPaths.h"
#include "OvSkinHelper.h"
#include "OvStringFormat.h"
#include "PreInstallChecks.h"

#include <memory>

CInstallApp::~CInstallApp()
{
    if (mutex_) CloseHandle(mutex_);
}

bool CInstallApp::Startup()
{
    OvLogScope scope(L"CInstallApp::Startup");
    struct KeyCloser {
        HKEY* keys;
        ~KeyCloser()
        {
            for (int i = 0; i < 2; ++i)
                if (keys[i]) RegCloseKey(keys[i]), keys[i] = nullptr;
        }
    } closeKeys{virtualStoreKeys_};

    InitializeOle();
    OvStringGlobals::Get();

    mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
    mutexError_ = GetLastError();
    scope.Log(OvFormat(L"Single-instance mutex created (error %d)", static_cast<int64_t>(mutexError_)));

    RemoveVirtualisedRegistryData();
    scope.Log(L"Virtualised registry data removed");

    const OvString programFolder = GetProgramFolder();
    OvProcessInfo::SetInstallerFlag(true);
    SetDataRootFolder(programFolder + L"Kestrel Deck\\");
    SetLibrariesFolder(programFolder + L"Kestrel Deck\\");
    scope.Log(L"Process information block: data and libraries folder " + GetLibrariesFolder());

    if (!LoadToolsLibrary()) {
        SetExitCode(kExitToolsLibraryFailed);
        return false;
    }
    OvProductInfo* product = GetProductInfo();
    scope.Log(L"Product description loaded: " + product->GetName(1));

    // The product's folders: the block resolved the install folder from the recorded
    // installations (or the portable marker) when it was made.
    scope.Log(L"Product paths for " + product->GetName(3) + L": install folder " + GetInstallFolder());

    ReadInstallXml();
    scope.Log(L"Install configuration read");

    const OvString commandLine = OvExecutableApp::JoinArguments(Arguments());
    ParseCommandLine(commandLine);
    scope.Log(L"Command line: " + commandLine);

    SetUpSkin();
    ShowLanguageSelection();

    if (RefuseAnotherInstance()) {
        SetExitCode(kExitAnotherInstance);
        return false;
    }

    if (ChecksBypassed()) {
        scope.Log(L"Pre-install checks skipped (Ctrl+Shift+F)");
    } else if (!RunPreInstallChecks()) {
        SetExitCode(kExitChecksFailed);
        return false;
    }

    RenameLauncher();

    auto wizard = std::make_unique<CInstallWizard>();
    CInstallWizard::Result result = wizard->RunModal(nullptr);
    wizard.reset();
    SetExitCode(result == CInstallWizard::kFinished ? kExitSuccess : kExitCancelled);
    scope.Log(OvFormat(L"Wizard ended (exit code %d)", ExitCode()));
    return false;
}

void CInstallApp::Shutdown()
{
    OvLogWrite(L"CInstallApp::Shutdown", OvFormat(L"Exit code %d", ExitCode()));
    OvGraphicalApp::Shutdown();
}

void CInstallApp::RemoveVirtualisedRegistryData()
{
    // Non-recursive: a key that still has subkeys stays; every failure is ignored.
    static const wchar_t* const parents[2] = {L"Software\\Classes\\VirtualStore\\Machine\\Software",
                                              L"Software\\Classes\\VirtualStore\\Machine\\Software\\Wow6432Node"};
    for (int i = 0; i < 2; ++i) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, parents[i], 0, KEY_ALL_ACCESS, &virtualStoreKeys_[i]) == ERROR_SUCCESS)
            RegDeleteKeyW(virtualStoreKeys_[i], L"Orvane");
        else
            virtualStoreKeys_[i] = nullptr;
    }
}

void CInstallApp::SetUpSkin()
{
    IOvTools* tools = GetToolsInterface(false);
    IOvSkinService* skin = tools ? tools->GetSkin() : nullptr;
    if (!skin) return;
    skin->SetTitleBarIcon(L"Titlebar Icon");
    const OvString skinFolder = GetProgramFolder() + L"Kestrel Deck\\Skins\\Standard View\\";

    OvString preferred = GetProductInfo()->GetString(L"/*/General/MegaSkin", L"");
    OvString path = OvSkinHelper::SkinPathFromSetting(preferred);
    OvStringArray pieces;
    pieces.Split(path, L"\\");   // a trailing backslash adds no empty piece

    OvString name;
    if (pieces.GetCount() >= 2 && OvSkinHelper::IsSkinPresent(skinFolder, pieces[pieces.GetCount() - 1]))
        name = pieces[pieces.GetCount() - 1];
    OvString folder = name.IsEmpty() ? skinFolder : skinFolder + name;
    bool loaded = skin->LoadSkin(folder);
    OvLogWrite(L"CInstallApp::SetUpSkin", OvFormat(L"Skin %s (%s)", folder, loaded ? L"loaded" : L"not loaded"));
}

void CInstallApp::ShowLanguageSelection()
{
    if (GetProductInfo()->GetInt(L"/*/Installer/ShowLanguageSelection", 0) == 0) return;
    IOvTools* tools = GetToolsInterface(false);
    IOvLanguageService* language = tools ? tools->GetLanguage() : nullptr;
    if (!language) return;
    language->ShowLanguageSelection(nullptr);
}

bool CInstallApp::RefuseAnotherInstance()
{
    if (mutexError_ != ERROR_ALREADY_EXISTS && mutexError_ != ERROR_ACCESS_DENIED) return false;
    OvLogWrite(L"CInstallApp::Startup", L"Another installer is running");
    OvString text = TranslateText(L"Another instance of the Orvane installer is already running on this system.\r\n\r\n");
    text += TranslateText(L"Please finish any other Orvane installations and try again.");
    ShowMessage(text, TranslateText(L"Orvane Installer"));
    return true;
}

bool CInstallApp::ChecksBypassed() const
{
    return (GetKeyState(VK_CONTROL) & 0x8000) && (GetKeyState(VK_SHIFT) & 0x8000) && (GetKeyState('F') & 0x8000);
}

void CInstallApp::RenameLauncher()
{
    const OvString folder = GetProgramFolder() + L"System\\Always Overwrite\\";
    const OvString launcher = GetProductInfo()->GetLauncherFileName();
    if (launcher.IsEmpty()) return;
    if (MoveFileW(folder + L"Aurora Core Launcher.exe", folder + launcher))
        OvLogWrite(L"CInstallApp::Startup", L"Launcher renamed to " + launcher);
}
