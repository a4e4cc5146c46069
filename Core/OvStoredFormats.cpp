#include "OvStoredFormats.h"

#include "OvXmlDocument.h"

#include <cwchar>

namespace {

bool IsLetter(wchar_t c) { return OvStringGlobals::Get()->IsLetter(c); }

constexpr wchar_t kFilename[] = L"Filename";

}  // namespace

bool IsTaggedFileName(const wchar_t* text) { return OvString(text).StartsWithNoCase(L"<XMLFN version="); }

bool IsDriveTokenPath(const wchar_t* text)
{
    if (!text || text[0] != L'(') return false;
    int letters = 0;
    const wchar_t* p = text + 1;
    for (; *p && *p != L')'; ++p) {
        if (IsLetter(*p)) ++letters;
        else if (*p != L' ') return false;
    }
    return letters >= 2 && p[0] == L')' && p[1] == L':';
}

bool IsSpecialLocationText(const wchar_t* text)
{
    const OvString s(text);
    return s.FindNoCase(L".tvlb") >= 0 || s.FindNoCase(L".ovtv") >= 0 || s.FindNoCase(L".tvgd") >= 0 ||
           IsDriveTokenPath(s) || s.StartsWithNoCase(L"<XMLPH version=");
}

bool IsVolumePath(const wchar_t* text)
{
    const OvString s(text);
    return s.StartsWith(L"(0x") && s.Length() > 13 && s[11] == L')' && s[12] == L':' && s[13] == L'\\';
}

bool IsPlainLocalPath(const wchar_t* text)
{
    const OvString s(text);
    return !s.IsEmpty() && !IsVolumePath(s) && s.Find(L"://") < 0 && !IsSpecialLocationText(s);
}

bool SplitTrailingProperty(const wchar_t* text, OvString& path, OvString& data)
{
    const OvString s(text);
    path = s;
    data.Empty();
    if (s.Find(L"://") >= 0 || s.EndsWith(L"\\")) return false;
    const int semicolon = s.ReverseFind(L';');
    const int dot = s.ReverseFind(L'.');
    if (dot < 0 || semicolon <= dot) return false;
    const int extension = semicolon - dot - 1;
    if (extension < 1 || extension > 5) return false;
    path = s.Left(semicolon);
    data = s.Mid(semicolon + 1);
    return true;
}

bool ReadTaggedFileName(const wchar_t* text, OvString& path, OvPropertyMap& properties)
{
    path.Empty();
    OvXmlDocument document{OvString(text)};
    if (!document.IsWellFormed() || !document.GetResult().IsEmpty()) return false;
    if (!document.FindElement(L"XMLFN")) return false;
    if (document.GetAttribute(document.GetCurrentElement(), L"version") != L"1.0") return false;
    document.EnterElement();
    OvPropertyMap items;
    items.ReadItems(document);
    if (items.IsEmpty()) return true;
    OvString key, value;
    const OvStringMap* table = items.GetTable();
    for (auto p = table->GetStartPosition(); p;) {
        table->GetNext(p, key, value);
        if (OvStringMap::KeysEqual(key, kFilename)) path = value;
        else properties.SetString(key, value, false);
    }
    return true;
}

OvString UnpackLocationText(const wchar_t* text, OvPropertyMap& properties, bool clearProperties)
{
    if (clearProperties) properties.Clear();
    OvString path;
    if (IsTaggedFileName(text)) {
        ReadTaggedFileName(text, path, properties);
        return path;
    }
    OvString data;
    if (SplitTrailingProperty(text, path, data)) properties.SetString(kOvPostExtensionData, data, false);
    return path;
}

OvString WriteTaggedFileName(const wchar_t* path, const OvPropertyMap& properties)
{
    OvPropertyMap items(properties);
    items.SetString(kFilename, path, false);
    OvXmlDocument document;
    items.WriteItems(document);
    // The version is the text "1.0" that readers compare exactly, not a locale-formatted number.
    return L"<XMLFN version=\"1.0\">\r\n" + document.GetText() + L"</XMLFN>";
}

OvString GetTypeName(const OvPropertyMap& properties, const wchar_t* defaultValue)
{
    return properties.GetString(kOvTypeName, defaultValue);
}

void SetTypeName(OvPropertyMap& properties, const wchar_t* typeName)
{
    properties.SetString(kOvTypeName, typeName, false);
}
