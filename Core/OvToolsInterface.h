#pragma once
// The interface of the product's tools library (OvTools.dll), shared by the library and its callers.
// Interfaces have no destructors: every object is freed by the module that made it.
// Text results cross the module boundary through OvDllString, whose setter runs in the
// receiving module, so no buffer of one module's string manager is kept by another.

#include "OvString.h"

#include <windows.h>
#include <oleauto.h>

constexpr int kOvToolsInterfaceVersion = 200048;

class OvDllString {
public:
    explicit OvDllString(OvString& target) : target_(target) {}
    virtual void Set(const wchar_t* text, int length = -1);

private:
    OvString& target_;
};

// Search and ordering that ignore case (mode 3 searches ignoring case).
struct IOvTextService {
    virtual int Find(const wchar_t* text, const wchar_t* pattern, int from, int mode) = 0;
    virtual int Compare(const wchar_t* a, const wchar_t* b, int mode, int flag) = 0;
};

struct IOvLanguageService {
    virtual bool ShowLanguageSelection(HWND owner) = 0;   // modal
    virtual void QueryLanguageName(OvDllString& name) = 0;
    virtual void Translate(const wchar_t* text, OvDllString& result) = 0;
};

struct IOvSkinService {
    virtual void SetTitleBarIcon(const wchar_t* name) = 0;
    virtual bool LoadSkin(const wchar_t* folder) = 0;
    virtual void QuerySkinFolder(OvDllString& folder) = 0;
};

// The product description.
class OvProductInfo {
public:
    virtual bool Load(const wchar_t* path, OvDllString& error, bool reload) = 0;
    virtual void QueryName(int form, OvDllString& name) = 0;
    virtual void QueryMainFileName(OvDllString& name) = 0;
    virtual void QueryLauncherFileName(OvDllString& name) = 0;
    virtual bool HasFeature(int number) = 0;
    virtual void QueryString(const wchar_t* path, const wchar_t* fallback, OvDllString& value) = 0;
    virtual int GetInt(const wchar_t* path, int fallback) = 0;
    virtual bool IsRunning() = 0;
    virtual HWND GetMainWindow() = 0;
    virtual void CloseRunningCopy() = 0;
    virtual void QueryProductFolder(OvDllString& folder) = 0;
    virtual COLORREF GetColour(int number) = 0;

    OvString GetName(int form) { return Receive([&](OvDllString& r) { QueryName(form, r); }); }
    OvString GetMainFileName() { return Receive([&](OvDllString& r) { QueryMainFileName(r); }); }
    OvString GetLauncherFileName() { return Receive([&](OvDllString& r) { QueryLauncherFileName(r); }); }
    OvString GetString(const wchar_t* path, const wchar_t* fallback = L"")
    {
        return Receive([&](OvDllString& r) { QueryString(path, fallback, r); });
    }

private:
    template <class F>
    static OvString Receive(F query)
    {
        OvString value;
        OvDllString receiver(value);
        query(receiver);
        return value;
    }
};

struct MessageRequest;

// Modal message boxes; button sets and results follow the Windows message-box values.
struct IOvMessageBoxService {
    virtual int Show(MessageRequest* request, int modal) = 0;
    virtual BSTR GetText(int id) = 0;                      // caller frees with SysFreeString
    virtual int ResultOf(const wchar_t* answer) = 0;
    virtual void Setup(MessageRequest* request, int buttonSet, int firstResult, int secondResult) = 0;
};

// Folder and file tests of the tools library; flag is 0 in every call of ours.
struct IOvFileSystemService {
    virtual bool IsValidPath(const wchar_t* path, int flag) = 0;
    virtual bool FolderExists(const wchar_t* path, int flag) = 0;
    virtual bool FileExists(const wchar_t* path, int flag) = 0;
};

// One section of the product's stored settings.
struct IOvSettingsSection {
    virtual int GetInt(const wchar_t* name, int fallback) = 0;
    virtual bool SetInt(const wchar_t* name, int value) = 0;
    virtual void QueryString(const wchar_t* name, const wchar_t* fallback, OvDllString& value) = 0;
    virtual bool SetString(const wchar_t* name, const wchar_t* value) = 0;
};

struct IOvDiagnostics {
    virtual void Log(const wchar_t* scope, const wchar_t* text) = 0;
    // A line written earlier (kept until the library was loaded), with its own time.
    virtual void LogAt(const SYSTEMTIME& time, const wchar_t* scope, const wchar_t* text) = 0;
    virtual void QueryLogPath(OvDllString& path) = 0;
};

// A thread that the tools library's main-thread message manager can call back on the main thread.
struct IMainThreadMessageManagerCallback {
    virtual bool OnMainThreadCallback(WPARAM first, LPARAM second) = 0;
};

// The register of worker threads. A registered thread may have messages posted to it that the
// library delivers on the thread that initialised it (the main thread), while it stays registered.
struct IOvThreadService {
    virtual bool Register(IMainThreadMessageManagerCallback* thread) = 0;
    virtual void Unregister(IMainThreadMessageManagerCallback* thread) = 0;
    virtual bool PostToMainThread(IMainThreadMessageManagerCallback* thread, WPARAM first, LPARAM second) = 0;
    virtual bool IsRegistered(IMainThreadMessageManagerCallback* thread) = 0;
};

// Services whose users arrive later; the library answers none for them until then.
struct IOvPostingService;
struct IOvImageService;
struct IOvPluginContext;
struct IOvTimingService;
struct IOvThreadService;
struct IOvWindowServices;
struct IOvRegistryKey;
struct IOvArchiveService;

struct IOvTools {
    virtual bool Initialize(bool flag, HINSTANCE application) = 0;
    virtual void Uninitialize(bool flag, HINSTANCE application) = 0;
    virtual void Release(HINSTANCE application) = 0;
    virtual IOvTextService* GetTextService(int create) = 0;
    virtual IOvPostingService* GetPosting() = 0;
    virtual IOvLanguageService* GetLanguage() = 0;
    virtual IOvSkinService* GetSkin() = 0;
    virtual IOvImageService* GetImages() = 0;
    virtual IOvPluginContext* GetPluginContext() = 0;
    virtual OvProductInfo* GetProductInfo(bool create) = 0;
    virtual IOvTimingService* GetTiming() = 0;
    virtual IOvMessageBoxService* GetMessageBoxes() = 0;
    virtual IOvThreadService* GetThreads() = 0;
    virtual IOvFileSystemService* GetFileSystem() = 0;
    virtual IOvWindowServices* GetWindowServices() = 0;
    virtual IOvSettingsSection* GetSettingsSection(const wchar_t* name) = 0;
    virtual IOvRegistryKey* GetRegistryKey(HKEY root, const wchar_t* path) = 0;
    virtual IOvArchiveService* GetArchives() = 0;
    virtual IOvDiagnostics* GetDiagnostics() = 0;
    // Imports the settings files of a folder into the product's stored settings; flag is 0.
    virtual bool ImportSettings(int flag, const wchar_t* folder) = 0;
};

// The library's one export.
extern "C" typedef IOvTools* (*GetOvToolsDLLProc)(int version);
