#pragma once
// Languages: "English" is built in; every "<Language>.lng" file in the library's "Languages"
// folder adds one. A .lng file is [Translations] Source=Target lines with \r \n \t \\ \= escapes.
// The current language is the "General" setting "Language" (default from the product
// description's "/*/General/Language", else English).

#include "IniDocument.h"
#include "OvStringArray.h"
#include "OvToolsInterface.h"

class ToolsLibrary;

class LanguageService : public IOvLanguageService {
public:
    explicit LanguageService(ToolsLibrary& library) : library_(library) {}

    bool ShowLanguageSelection(HWND owner) override;
    void QueryLanguageName(OvDllString& name) override { name.Set(CurrentLanguage()); }
    void Translate(const wchar_t* text, OvDllString& result) override;

    OvStringArray AvailableLanguages() const;
    OvString CurrentLanguage() const;

private:
    void LoadTranslations();

    ToolsLibrary& library_;
    IniDocument translations_;
    OvString loadedLanguage_;
    bool loaded_ = false;
};
