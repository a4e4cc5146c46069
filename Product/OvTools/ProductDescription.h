#pragma once
// The product description, read from "ProductInfo.ini" beside the library.
// Path queries "/*/Section/Name" (any root name) read [Section] Name; deeper paths
// "/*/A/B/Name" read [A/B] Name.

#include "IniDocument.h"
#include "OvToolsInterface.h"

class ProductDescription : public OvProductInfo {
public:
    static constexpr const wchar_t* kFileName = L"ProductInfo.ini";

    explicit ProductDescription(const OvString& folder) : folder_(folder) {}

    bool Load(const wchar_t* path, OvDllString& error, bool reload) override;
    void QueryName(int form, OvDllString& name) override;
    void QueryMainFileName(OvDllString& name) override;
    void QueryLauncherFileName(OvDllString& name) override;
    bool HasFeature(int number) override;
    void QueryString(const wchar_t* path, const wchar_t* fallback, OvDllString& value) override;
    int GetInt(const wchar_t* path, int fallback) override;
    bool IsRunning() override;
    HWND GetMainWindow() override;
    void CloseRunningCopy() override;
    void QueryProductFolder(OvDllString& folder) override;
    COLORREF GetColour(int number) override;

    bool IsLoaded() const { return loaded_; }
    OvString Name(int form) const;

private:
    OvString Lookup(const wchar_t* path, const wchar_t* fallback) const;

    OvString folder_;
    IniDocument document_;
    bool loaded_ = false;
};
