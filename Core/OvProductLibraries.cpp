#include "OvProductLibraries.h"

#include "OvFileSystem.h"
#include "OvLock.h"
#include "OvLog.h"
#include "OvProductPaths.h"
#include "OvStringSearch.h"
#include "OvStringFormat.h"

namespace {

struct LoaderState {
    HMODULE modules[kOvProductLibraryCount] = {};
    bool flags[kOvProductLibraryCount] = {};   // passed to initialise and uninitialise
    IOvTools* tools = nullptr;
    IOvImageApp* image = nullptr;
    IOvLibraryApp* player = nullptr;
    IOvLibraryApp* television = nullptr;
};

LoaderState& State()
{
    static LoaderState state;
    return state;
}

// Every load, unload and entry look-up of every library; never destroyed.
OvLock& Lock()
{
    static auto* lock = new OvLock();
    return *lock;
}

HINSTANCE ApplicationInstance() { return GetModuleHandleW(nullptr); }

template <class Proc>
Proc Entry(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

bool IsFullPath(const OvString& path)
{
    if (path.Find(L'\\') < 0) return false;
    return (path.Length() >= 3 && path[1] == L':' && path[2] == L'\\') || path.StartsWith(L"\\\\");
}

// The entry protocol after a library was loaded into its slot; the caller holds the lock.
void AfterLoad(int index)
{
    LoaderState& s = State();
    HMODULE module = s.modules[index];
    if (index == kOvToolsLibrary) {
        auto entry = Entry<GetOvToolsDLLProc>(module, "GetOvToolsDLL");
        IOvTools* tools = entry ? entry(kOvToolsInterfaceVersion) : nullptr;
        if (tools) {
            tools->Initialize(s.flags[index], ApplicationInstance());
            s.tools = tools;
        } else {
            FreeLibrary(module);
            s.modules[index] = nullptr;
        }
    } else if (index == kOvImageLibrary) {
        auto entry = Entry<GetOvImageAppDLLProc>(module, "GetOvImageAppDLL");
        IOvImageApp* image = entry ? entry() : nullptr;
        if (image) {
            image->Initialize(s.flags[index]);
            s.image = image;
        } else {
            FreeLibrary(module);
            s.modules[index] = nullptr;
        }
    } else {
        if (auto initialize = Entry<OvLibraryInitializeProc>(module, "OvReaderInitialize")) initialize(s.flags[index]);
        if (auto initialize = Entry<OvLibraryInitializeProc>(module, "OvDiscInitialize")) initialize(s.flags[index]);
    }
}

// The uninitialise step of one library, then its module is freed; the caller holds the lock.
void Unload(int index)
{
    LoaderState& s = State();
    HMODULE module = s.modules[index];
    if (!module) return;
    const bool flag = s.flags[index];
    switch (index) {
    case kOvToolsLibrary:
        if (s.tools) s.tools->Uninitialize(flag, ApplicationInstance());
        s.tools = nullptr;
        break;
    case kOvImageLibrary:
        if (s.image) s.image->Uninitialize(flag);
        s.image = nullptr;
        break;
    case kOvPlayerLibrary:
    case kOvTelevisionLibrary: {
        IOvLibraryApp*& app = index == kOvPlayerLibrary ? s.player : s.television;
        if (app) app->Uninitialize(flag);
        app = nullptr;
        break;
    }
    case kOvReaderLibrary:
        if (auto uninitialize = Entry<OvLibraryUninitializeProc>(module, "OvReaderUninitialize")) uninitialize(flag);
        break;
    case kOvDiscLibrary:
        if (auto uninitialize = Entry<OvLibraryUninitializeProc>(module, "OvDiscUninitialize")) uninitialize(flag);
        break;
    default:
        break;
    }
    s.modules[index] = nullptr;
    FreeLibrary(module);
}

// Unloads whatever is still loaded when the process ends.
struct ExitUnloader {
    ~ExitUnloader() { UnloadProductLibraries(false); }
} exitUnloader;

bool LoadFromFolder(const wchar_t* folder, int index)
{
    bool loaded = false;
    return LoadProductLibrary(EnsureTrailingBackslash(folder) + GetProductLibraryName(index), index, &loaded);
}

IOvImageApp* ImageInterface()
{
    if (!LoadImageLibrary(L"")) return nullptr;
    OvLockGuard guard(Lock());
    return State().image;
}

IOvReader* CreateReader(const char* entryName, const wchar_t* argument)
{
    if (!LoadReaderLibrary(L"")) return nullptr;
    // Looked up and called under the lock, so the library cannot be freed in between.
    OvLockGuard guard(Lock());
    auto entry = Entry<CreateReaderDLLProc>(State().modules[kOvReaderLibrary], entryName);
    return entry ? entry(argument) : nullptr;
}

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
    OvLockGuard guard(Lock());
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
    return LoadFromFolder(folder, kOvToolsLibrary);
}

bool LoadImageLibrary(const wchar_t* folder)
{
    return LoadFromFolder(folder, kOvImageLibrary);
}

bool LoadReaderLibrary(const wchar_t* folder)
{
    return LoadFromFolder(folder, kOvReaderLibrary);
}

IOvTools* GetToolsInterface(bool load)
{
    {
        OvLockGuard guard(Lock());
        if (State().tools || !load) return State().tools;
    }
    LoadToolsModule(L"");
    OvLockGuard guard(Lock());
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
        OvLockGuard guard(Lock());
        Unload(index);
    }
}

bool IsProductLibrary(const wchar_t* pathText)
{
    const OvString path(pathText);
    if (path.IsEmpty()) return false;
    const OvTextSearch search(false);
    for (int index = 0; index < kOvProductLibraryCount; ++index) {
        const OvString name = GetProductLibraryName(index);
        if (search.Find(path, path.Length(), name, name.Length(), 0) >= 0) return true;
    }
    return false;
}

IOvPicture* CreateImagePicture()
{
    IOvImageApp* image = ImageInterface();
    return image ? image->CreatePicture() : nullptr;
}

IOvFontService* GetImageFonts()
{
    IOvImageApp* image = ImageInterface();
    return image ? image->GetFonts() : nullptr;
}

IOvTextDrawing* GetImageTextDrawing()
{
    IOvImageApp* image = ImageInterface();
    return image ? image->GetTextDrawing() : nullptr;
}

IOvReader* CreateInternetReader(const wchar_t* argument)
{
    return CreateReader("CreateInternetReaderDLL", argument);
}

IOvReader* CreateGenericReader(const wchar_t* argument)
{
    return CreateReader("CreateGenericReaderDLL", argument);
}

bool ImportSettings(const wchar_t* folderText)
{
    const OvString folder = EnsureTrailingBackslash(folderText);
    IOvTools* tools = GetToolsInterface(true);
    const bool imported = tools && tools->ImportSettings(0, folder);
    // Without a generic folder the target would be relative to the current directory.
    const OvString generic = GetGenericFolder();
    if (!generic.IsEmpty() && !folder.IsEmpty()) {
        const OvString settings = generic + L"Settings\\";
        CreateDirectoryPath(settings, false);
        CopyFileW(folder + L"TV Shared Settings.ini", settings + L"TV Shared Settings.ini", FALSE);
    }
    return imported;
}

OvProductInfo* GetProductInfo()
{
    IOvTools* tools = GetToolsInterface(false);
    return tools ? tools->GetProductInfo(false) : nullptr;
}

OvString GetProductString(const wchar_t* path, const wchar_t* fallback)
{
    OvProductInfo* info = GetProductInfo();
    return info ? info->GetString(path, fallback) : OvString(fallback);
}

IOvWindowServices* GetWindowServices()
{
    IOvTools* tools = GetToolsInterface(false);
    return tools ? tools->GetWindowServices() : nullptr;
}

IOvSettingsSection* GetSettingsSection(const wchar_t* name)
{
    IOvTools* tools = GetToolsInterface(true);
    return tools ? tools->GetSettingsSection(name) : nullptr;
}

IOvRegistryKey* GetRegistryKey(HKEY root, const wchar_t* path)
{
    IOvTools* tools = GetToolsInterface(true);
    return tools ? tools->GetRegistryKey(root, path) : nullptr;
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
