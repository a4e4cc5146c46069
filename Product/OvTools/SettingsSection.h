#pragma once
// One section of the product's stored settings:
// HKEY_CURRENT_USER "Software\Orvane\<product name form 3>\<section>".

#include "OvToolsInterface.h"

class SettingsSection : public IOvSettingsSection {
public:
    SettingsSection(const OvString& productKey, const OvString& name);

    int GetInt(const wchar_t* name, int fallback) override;
    bool SetInt(const wchar_t* name, int value) override;
    void QueryString(const wchar_t* name, const wchar_t* fallback, OvDllString& value) override;
    bool SetString(const wchar_t* name, const wchar_t* value) override;

    const OvString& KeyPath() const { return keyPath_; }

private:
    bool Read(const wchar_t* name, DWORD& type, OvString& text, DWORD& number);
    OvString keyPath_;
};
