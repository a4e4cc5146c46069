#include "ToolsLibrary.h"

#include "OvFileSystem.h"
#include "OvStringFormat.h"
#include "StandInRecord.h"

namespace {

OvString ModuleFolder(HMODULE module)
{
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return GetFolderOfPath(path);
}

HMODULE thisModule = nullptr;
ToolsLibrary* library = nullptr;

}  // namespace

ToolsLibrary::ToolsLibrary(HMODULE module)
    : folder_(ModuleFolder(module)), product_(folder_), boxes_(log_), skin_(log_), language_(*this)
{
}

bool ToolsLibrary::Initialize(bool flag, HINSTANCE)
{
    StandInRecord(flag ? L"Initialize(1)" : L"Initialize(0)");
    if (initializations_++ == 0) {
        log_.Open();
        log_.Log(L"OvTools::Initialize", L"Tools library loaded from " + folder_);
        threads_.Open(thisModule);
    }
    return true;
}

void ToolsLibrary::Uninitialize(bool flag, HINSTANCE)
{
    StandInRecord(flag ? L"Uninitialize(1)" : L"Uninitialize(0)");
    if (initializations_ > 0 && --initializations_ == 0) {
        threads_.Close();
        log_.Log(L"OvTools::Uninitialize", L"Tools library unloaded");
    }
}

void ToolsLibrary::Release(HINSTANCE)
{
    StandInRecord(L"Release");
    log_.Log(L"OvTools::Release", L"Services released");
    sections_.clear();
}

IOvTextService* ToolsLibrary::GetTextService(int)
{
    return &text_;
}

OvProductInfo* ToolsLibrary::GetProductInfo(bool create)
{
    // Without creating, only a description that loaded counts as existing.
    return create || product_.IsLoaded() ? &product_ : nullptr;
}

bool ToolsLibrary::ImportSettings(int, const wchar_t* folderText)
{
    if (!product_.IsLoaded()) return false;
    const OvString folder = EnsureTrailingBackslash(folderText);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder + L"*.ini", &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    int files = 0;
    do {
        const OvString name(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.EqualsNoCase(L"TV Shared Settings.ini"))
            continue;
        ++files;
        IniDocument document;
        OvString error;
        if (!document.Load(folder + name, false, error)) {
            log_.Log(L"OvTools::ImportSettings", error);
            ok = false;
            continue;
        }
        for (const OvString& section : document.Sections()) {
            SettingsSection* settings = Settings(section);
            for (const OvString& value : document.Names(section))
                ok = settings && settings->SetString(value, document.Get(section, value)) && ok;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    log_.Log(L"OvTools::ImportSettings", OvFormat(L"%d settings files from %s", files, folder));
    return ok && files > 0;
}

SettingsSection* ToolsLibrary::Settings(const wchar_t* name)
{
    // Without a product name there is no settings key yet: a section under "Orvane" alone
    // would mix products, so the answer is none.
    if (!product_.IsLoaded()) return nullptr;
    OvString key(name);
    key.MakeLower();
    auto& section = sections_[std::wstring(key.c_str(), key.Length())];
    if (!section) section = std::make_unique<SettingsSection>(product_.Name(3), OvString(name));
    return section.get();
}

extern "C" __declspec(dllexport) IOvTools* GetOvToolsDLL(int version)
{
    StandInRecord(L"GetOvToolsDLL");
    if (version != kOvToolsInterfaceVersion) return nullptr;
    if (!library) library = new ToolsLibrary(thisModule);
    return library;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
        StandInRecord(L"attach");
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        StandInRecord(L"detach");
        // Unloaded by FreeLibrary (not at process end): the library object goes with the module.
        delete library;
        library = nullptr;
    }
    return TRUE;
}
