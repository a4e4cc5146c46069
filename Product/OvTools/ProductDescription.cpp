#include "ProductDescription.h"

#include "OvFileSystem.h"
#include "OvStringFormat.h"

#include <cwchar>

namespace {
const wchar_t* const kRequired[] = {L"Name0", L"Name1", L"Name2", L"Name3", L"MainFile", L"LauncherFile"};

bool ParseInt(const OvString& text, int& value)
{
    OvString t(text);
    t.Trim();
    if (t.IsEmpty()) return false;
    wchar_t* end = nullptr;
    long v = wcstol(t, &end, 10);
    if (*end) return false;
    value = static_cast<int>(v);
    return true;
}
}  // namespace

bool ProductDescription::Load(const wchar_t* path, OvDllString& error, bool reload)
{
    if (loaded_ && !reload) return true;
    loaded_ = false;
    OvString file = path && *path ? OvString(path) : EnsureTrailingBackslash(folder_) + kFileName;
    OvString problem;
    if (!document_.Load(file, false, problem)) {
        error.Set(L"The product description could not be loaded. " + problem);
        return false;
    }
    for (const wchar_t* name : kRequired) {
        if (document_.Get(L"Product", name).IsEmpty()) {
            error.Set(OvFormat(L"The product description %s has no value [Product] %s.", file, name));
            return false;
        }
    }
    loaded_ = true;
    return true;
}

OvString ProductDescription::Name(int form) const
{
    return document_.Get(L"Product", OvFormat(L"Name%d", form));
}

void ProductDescription::QueryName(int form, OvDllString& name) { name.Set(Name(form)); }

void ProductDescription::QueryMainFileName(OvDllString& name) { name.Set(document_.Get(L"Product", L"MainFile")); }

void ProductDescription::QueryLauncherFileName(OvDllString& name)
{
    name.Set(document_.Get(L"Product", L"LauncherFile"));
}

bool ProductDescription::HasFeature(int number)
{
    OvString features = document_.Get(L"Product", L"Features");
    int start = 0;
    for (int i = 0; i <= features.Length(); ++i) {
        if (i == features.Length() || features[i] == L',') {
            int value;
            if (ParseInt(features.Mid(start, i - start), value) && value == number) return true;
            start = i + 1;
        }
    }
    return false;
}

OvString ProductDescription::Lookup(const wchar_t* pathText, const wchar_t* fallback) const
{
    // "/root/Section.../Name": the root is skipped, the last piece is the name.
    OvString path(pathText);
    if (!path.StartsWith(L"/")) return OvString(fallback);
    int rootEnd = path.Find(L'/', 1);
    int nameStart = path.ReverseFind(L'/');
    if (rootEnd < 0 || nameStart <= rootEnd) return OvString(fallback);
    OvString section = path.Mid(rootEnd + 1, nameStart - rootEnd - 1);
    OvString name = path.Mid(nameStart + 1);
    if (!document_.Has(section, name)) return OvString(fallback);
    return document_.Get(section, name);
}

void ProductDescription::QueryString(const wchar_t* path, const wchar_t* fallback, OvDllString& value)
{
    value.Set(Lookup(path, fallback));
}

int ProductDescription::GetInt(const wchar_t* path, int fallback)
{
    int value;
    return ParseInt(Lookup(path, L""), value) ? value : fallback;
}

HWND ProductDescription::GetMainWindow()
{
    OvString windowClass = document_.Get(L"Product", L"MainWindowClass");
    return windowClass.IsEmpty() ? nullptr : FindWindowW(windowClass, nullptr);
}

bool ProductDescription::IsRunning() { return GetMainWindow() != nullptr; }

void ProductDescription::CloseRunningCopy()
{
    if (HWND window = GetMainWindow()) PostMessageW(window, WM_CLOSE, 0, 0);
}

void ProductDescription::QueryProductFolder(OvDllString& folder)
{
    folder.Set(document_.Get(L"Product", L"ProductFolder"));
}

COLORREF ProductDescription::GetColour(int number)
{
    // "#RRGGBB" in [Colours]; black when absent.
    OvString text = document_.Get(L"Colours", OvFormat(L"%d", number));
    if (text.Length() != 7 || text[0] != L'#') return RGB(0, 0, 0);
    unsigned long rgb = wcstoul(text.c_str() + 1, nullptr, 16);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
