#pragma once
// The installer's application object: start-up runs every step up to the modal wizard.

#include "OvGraphicalApp.h"

class CInstallApp : public OvGraphicalApp {
public:
    static constexpr const wchar_t* kMutexName = L"Global\\Orvane Installer";

    ~CInstallApp() override;
    bool Startup() override;
    void Shutdown() override;

    // The error code reported right after the single-instance mutex was created.
    DWORD MutexError() const { return mutexError_; }

private:
    void RemoveVirtualisedRegistryData();
    void SetUpSkin();
    void ShowLanguageSelection();
    bool RefuseAnotherInstance();
    bool ChecksBypassed() const;
    void RenameLauncher();

    HANDLE mutex_ = nullptr;
    DWORD mutexError_ = 0;
    HKEY virtualStoreKeys_[2] = {};
};
