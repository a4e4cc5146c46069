#include "LanguageService.h"

#include "ButtonDialog.h"
#include "OvFileSystem.h"
#include "StandInRecord.h"
#include "ToolsLibrary.h"

namespace {
const wchar_t* const kBuiltIn = L"English";
}

OvStringArray LanguageService::AvailableLanguages() const
{
    OvStringArray languages{kBuiltIn};
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(library_.Folder() + L"Languages\\*.lng", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            OvString name(found.cFileName);
            name = name.Left(name.Length() - 4);
            if (!name.EqualsNoCase(kBuiltIn)) languages.Add(name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return languages;
}

OvString LanguageService::CurrentLanguage() const
{
    OvString fallback = library_.Product().IsLoaded() ? library_.Product().GetString(L"/*/General/Language", kBuiltIn)
                                                      : OvString(kBuiltIn);
    OvString language = fallback;
    OvDllString receiver(language);
    if (SettingsSection* settings = library_.Settings(L"General"))
        settings->QueryString(L"Language", fallback, receiver);
    return language.IsEmpty() ? OvString(kBuiltIn) : language;
}

void LanguageService::LoadTranslations()
{
    OvString language = CurrentLanguage();
    if (loaded_ && language.EqualsNoCase(loadedLanguage_)) return;
    loaded_ = true;
    loadedLanguage_ = language;
    translations_ = IniDocument();
    if (language.EqualsNoCase(kBuiltIn)) return;
    OvString file = library_.Folder() + L"Languages\\" + language + L".lng";
    OvString error;
    if (!translations_.Load(file, true, error)) library_.Diagnostics().Log(L"LanguageService::Load", error);
}

void LanguageService::Translate(const wchar_t* text, OvDllString& result)
{
    StandInRecord(L"Translate");
    LoadTranslations();
    if (translations_.Has(L"Translations", text)) result.Set(translations_.Get(L"Translations", text));
}

bool LanguageService::ShowLanguageSelection(HWND owner)
{
    OvStringArray languages = AvailableLanguages();
    OvString current = CurrentLanguage();
    int selected = 0;
    for (int i = 0; i < languages.GetCount(); ++i)
        if (languages[i].EqualsNoCase(current)) selected = i;
    int chosen = ButtonDialog::Choose(owner, L"Language", L"Choose the language of the installation:", languages,
                                      selected);
    library_.Diagnostics().Log(L"LanguageService::ShowLanguageSelection",
                               chosen >= 0 ? (L"Chosen: " + languages[chosen]).c_str() : L"Closed without a choice");
    if (chosen < 0) return false;
    SettingsSection* settings = library_.Settings(L"General");
    return settings && settings->SetString(L"Language", languages[chosen]);
}
