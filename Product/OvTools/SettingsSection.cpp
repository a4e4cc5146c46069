#include "SettingsSection.h"

#include <cwchar>

SettingsSection::SettingsSection(const OvString& productKey, const OvString& name)
    : keyPath_(L"Software\\Orvane\\" + productKey + L"\\" + name)
{
}

bool SettingsSection::Read(const wchar_t* name, DWORD& type, OvString& text, DWORD& number)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool ok = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (ok && type == REG_DWORD && size == sizeof(DWORD)) {
        ok = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size) == ERROR_SUCCESS;
    } else if (ok && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        int units = static_cast<int>(size / sizeof(wchar_t));
        wchar_t* buffer = text.GetBuffer(units + 1);
        buffer[units] = 0;
        ok = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
        text.ReleaseBuffer(ok ? -1 : 0);
    } else {
        ok = false;
    }
    RegCloseKey(key);
    return ok;
}

int SettingsSection::GetInt(const wchar_t* name, int fallback)
{
    DWORD type = 0, number = 0;
    OvString text;
    if (!Read(name, type, text, number)) return fallback;
    if (type == REG_DWORD) return static_cast<int>(number);
    wchar_t* end = nullptr;
    long value = wcstol(text, &end, 10);
    return end != text.c_str() ? static_cast<int>(value) : fallback;
}

bool SettingsSection::SetInt(const wchar_t* name, int value)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    DWORD number = static_cast<DWORD>(value);
    bool ok = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number) ==
              ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

void SettingsSection::QueryString(const wchar_t* name, const wchar_t* fallback, OvDllString& value)
{
    DWORD type = 0, number = 0;
    OvString text;
    if (!Read(name, type, text, number)) {
        value.Set(fallback);
        return;
    }
    if (type == REG_DWORD) {
        wchar_t digits[16];
        swprintf(digits, 16, L"%d", static_cast<int>(number));
        value.Set(digits);
        return;
    }
    value.Set(text);
}

bool SettingsSection::SetString(const wchar_t* name, const wchar_t* value)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    OvString text(value);
    bool ok = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.Length() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}
