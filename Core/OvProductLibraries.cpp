#include "OvProductLibraries.h"

#include "OvFileSystem.h"
#include "OvLog.h"
#include "OvProductPaths.h"
#include "OvStringFormat.h"

#include <mutex>

namespace {

struct LoaderState {
    HMODULE modules[kOvProductLibraryCount] = {};
    bool flags[kOvProductLibraryCount] = {};   // passed to initialise and uninitialise
    IOvTools* tools = nullptr;
};

LoaderState& State()
{
    static LoaderState state;
    return state;
}

std::recursive_mutex& Lock()
{
    static auto* lock = new std::recursive_mutex();
    return *lock;
}

HINSTANCE ApplicationInstance() { return GetModuleHandleW(nullptr); }

bool IsFullPath(const OvString& path)
{
    if (path.Find(L'\\') < 0) return false;
    return (path.Length() >= 3 && path[1] == L':' && path[2] == L'\\') || path.StartsWith(L"\\\\");
}

void AfterLoad(int index)
{
    LoaderState& s = State();
    HMODULE module = s.modules[index];
    if (index == kOvToolsLibrary) {
        auto entry = reinterpret_cast<GetOvToolsDLLProc>(reinterpret_cast<void*>(GetProcAddress(module, "GetOvToolsDLL")));
        IOvTools* tools = entry ? entry(kOvToolsInterfaceVersion) : nullptr;
        if (tools) {
            tools->Initialize(s.flags[index], ApplicationInstance());
            s.tools = tools;
        } else {
            FreeLibrary(module);
            s.modules[index] = nullptr;
        }
    }
}

// Frees one library after its uninitialise step; the caller holds the lock.
void Unload(int index)
{
    LoaderState& s = State();
    HMODULE module = s.modules[index];
    if (!module) return;
    if (index == kOvToolsLibrary && s.tools) {
        s.tools->Uninitialize(s.flags[index], ApplicationInstance());
        s.tools = nullptr;
    }
    s.modules[index] = nullptr;
    FreeLibrary(module);
}

// Unloads whatever is still loaded when the process ends.
struct ExitUnloader {
    ~ExitUnloader() { UnloadProductLibraries(false); }
} exitUnloader;

}  // namespace

OvString GetProductLibraryName(int index)
{
    switch (index) {
    case kOvToolsLibrary: {
        // The tools library's name is put together here rather than stored whole.
        OvString name(L"Ov");
        name += L"Tools";
        name += L'.';
        name += L"dll";
        return name;
    }
    case kOvImageLibrary: return L"OvImage.dll";
    case kOvReaderLibrary: return L"OvReader.dll";
    case kOvDiscLibrary: return L"OvDisc.dll";
    case kOvPlayerLibrary: return L"OvPlayer.dll";
    case kOvWMFactoryLibrary: return L"OvWMFactory.dll";
    case kOvTelevisionLibrary: return L"OvTelevision.dll";
    default: return OvString();
    }
}

bool LoadProductLibrary(const wchar_t* pathText, int index, bool* loaded)
{
    if (index < 0 || index >= kOvProductLibraryCount) return false;
    std::lock_guard<std::recursive_mutex> guard(Lock());
    LoaderState& s = State();
    if (s.modules[index]) {
        if (loaded) *loaded = true;
        return true;
    }
    OvString path(pathText);
    HMODULE module = nullptr;
    if (IsFullPath(path)) {
        module = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    } else {
        OvString folder = GetLibrariesFolder();
        if (folder.IsEmpty())
            module = LoadLibraryW(path);
        else
            module = LoadLibraryExW(EnsureTrailingBackslash(folder) + path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (module) {
        s.modules[index] = module;
        AfterLoad(index);
    }
    if (s.modules[index] && loaded) *loaded = true;
    return s.modules[index] != nullptr;
}

bool LoadToolsModule(const wchar_t* folder)
{
    OvString path = EnsureTrailingBackslash(folder) + GetProductLibraryName(kOvToolsLibrary);
    bool loaded = false;
    return LoadProductLibrary(path, kOvToolsLibrary, &loaded);
}

IOvTools* GetToolsInterface(bool load)
{
    {
        std::lock_guard<std::recursive_mutex> guard(Lock());
        if (State().tools || !load) return State().tools;
    }
    LoadToolsModule(L"");
    std::lock_guard<std::recursive_mutex> guard(Lock());
    return State().tools;
}

OvString CriticalErrorText(const wchar_t* modulePath, const wchar_t* error)
{
    return OvFormat(L"The following module has failed to load:\r\n%s\r\n\r\nIt has reported the following error:"
                    L"\r\n\r\n%s\r\n\r\nPlease reinstall the latest version of the program.",
                    modulePath, error);
}

bool LoadProductInformation(bool showErrors, bool reload)
{
    IOvTools* tools = GetToolsInterface(false);
    if (tools && tools->GetProductInfo(false) && !reload) return true;

    OvString error;
    tools = GetToolsInterface(true);
    if (tools) {
        OvProductInfo* info = tools->GetProductInfo(true);
        OvDllString receiver(error);
        if (info && info->Load(L"", receiver, reload)) {
            tools->GetTextService(0);
            OvLogFlushPending();
            return true;
        }
        if (error.IsEmpty()) error = L"Unknown error loading product information";
    } else {
        error = L"Failed to load OvTools";
    }
    OvLogWrite(L"LoadProductInformation", error);
    if (showErrors) {
        wchar_t modulePath[MAX_PATH + 1] = {};
        GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
        MessageBoxW(nullptr, CriticalErrorText(modulePath, error), L"Critical Error", MB_OK);
    }
    return false;
}

void UnloadProductLibraries(bool releaseTools)
{
    if (releaseTools) {
        IOvTools* tools = GetToolsInterface(false);
        if (tools) tools->Release(ApplicationInstance());
    }
    static const int order[] = {kOvDiscLibrary,  kOvPlayerLibrary, kOvTelevisionLibrary, kOvWMFactoryLibrary,
                                kOvImageLibrary, kOvReaderLibrary, kOvToolsLibrary};
    for (int index : order) {
        std::lock_guard<std::recursive_mutex> guard(Lock());
        Unload(index);
    }
}

OvProductInfo* GetProductInfo()
{
    IOvTools* tools = GetToolsInterface(false);
    return tools ? tools->GetProductInfo(false) : nullptr;
}

IOvSettingsSection* GetSettingsSection(const wchar_t* name)
{
    IOvTools* tools = GetToolsInterface(true);
    return tools ? tools->GetSettingsSection(name) : nullptr;
}

OvString TranslateText(const wchar_t* text)
{
    OvString result(text);
    if (result.IsEmpty()) return result;
    IOvTools* tools = GetToolsInterface(true);
    IOvLanguageService* language = tools ? tools->GetLanguage() : nullptr;
    if (language) {
        OvDllString receiver(result);
        language->Translate(text, receiver);
    }
    return result;
}
