#pragma once
// The tools library object handed out by GetOvToolsDLL.

#include "FileSystemService.h"
#include "LanguageService.h"
#include "LogFile.h"
#include "MessageBoxService.h"
#include "ProductDescription.h"
#include "SettingsSection.h"
#include "SkinService.h"
#include "TextService.h"
#include "ThreadService.h"

#include <map>
#include <memory>
#include <string>

class ToolsLibrary final : public IOvTools {
public:
    explicit ToolsLibrary(HMODULE module);

    bool Initialize(bool flag, HINSTANCE application) override;
    void Uninitialize(bool flag, HINSTANCE application) override;
    void Release(HINSTANCE application) override;
    IOvTextService* GetTextService(int create) override;
    IOvPostingService* GetPosting() override { return nullptr; }
    IOvLanguageService* GetLanguage() override { return &language_; }
    IOvSkinService* GetSkin() override { return &skin_; }
    IOvImageService* GetImages() override { return nullptr; }
    IOvPluginContext* GetPluginContext() override { return nullptr; }
    OvProductInfo* GetProductInfo(bool create) override;
    IOvTimingService* GetTiming() override { return nullptr; }
    IOvMessageBoxService* GetMessageBoxes() override { return &boxes_; }
    IOvThreadService* GetThreads() override { return &threads_; }
    IOvFileSystemService* GetFileSystem() override { return &fileSystem_; }
    IOvWindowServices* GetWindowServices() override { return nullptr; }
    IOvSettingsSection* GetSettingsSection(const wchar_t* name) override { return Settings(name); }
    IOvRegistryKey* GetRegistryKey(HKEY, const wchar_t*) override { return nullptr; }
    IOvArchiveService* GetArchives() override { return nullptr; }
    IOvDiagnostics* GetDiagnostics() override { return &log_; }
    // Every "*.ini" file of the folder but "TV Shared Settings.ini" (which is shared with other
    // products, not imported): "[Section]" and "Name=Value" lines become text values of the
    // sections. False without a product description or without any settings file.
    bool ImportSettings(int flag, const wchar_t* folder) override;

    // The library's own folder ("...\Kestrel Deck\").
    const OvString& Folder() const { return folder_; }
    ProductDescription& Product() { return product_; }
    LogFile& Diagnostics() { return log_; }
    // The settings section by name (null before the product description is loaded: its name
    // form 3 is the settings key).
    SettingsSection* Settings(const wchar_t* name);

private:
    OvString folder_;
    LogFile log_;
    ProductDescription product_;
    TextService text_;
    FileSystemService fileSystem_;
    MessageBoxService boxes_;
    SkinService skin_;
    LanguageService language_;
    ThreadService threads_;
    std::map<std::wstring, std::unique_ptr<SettingsSection>> sections_;
    int initializations_ = 0;
};
