// The product's image library "OvImage.dll": its entry point and the initialise and uninitialise
// calls. The drawing services come with the window toolkit; until then it hands out none.

#include "OvProductLibraryInterfaces.h"
#include "StandInRecord.h"

#include <string>

namespace {

const wchar_t* FlagText(bool flag) { return flag ? L"1" : L"0"; }

class ImageLibrary final : public IOvImageApp {
public:
    bool Initialize(bool flag) override
    {
        StandInRecord((std::wstring(L"Initialize(") + FlagText(flag) + L")").c_str());
        return true;
    }
    void Uninitialize(bool flag) override
    {
        StandInRecord((std::wstring(L"Uninitialize(") + FlagText(flag) + L")").c_str());
    }
    IOvPicture* CreatePicture() override { return nullptr; }
    void* Reserved4() override { return nullptr; }
    void* Reserved5() override { return nullptr; }
    void* Reserved6() override { return nullptr; }
    void* Reserved7() override { return nullptr; }
    IOvFontService* GetFonts() override { return nullptr; }
    IOvTextDrawing* GetTextDrawing() override { return nullptr; }
};

ImageLibrary* library = nullptr;

}  // namespace

extern "C" __declspec(dllexport) IOvImageApp* GetOvImageAppDLL()
{
    StandInRecord(L"GetOvImageAppDLL");
    if (!library) library = new ImageLibrary();
    return library;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        StandInRecord(L"attach");
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        StandInRecord(L"detach");
        delete library;
        library = nullptr;
    }
    return TRUE;
}
