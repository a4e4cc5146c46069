#include "IniDocument.h"

#include "OvStringFormat.h"

#include <windows.h>

#include <string>

namespace {

bool ReadFileBytes(const wchar_t* path, std::string& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (16 << 20);
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

OvString Unescape(const OvString& text)
{
    OvString out;
    for (int i = 0; i < text.Length(); ++i) {
        wchar_t c = text[i];
        if (c == L'\\' && i + 1 < text.Length()) {
            wchar_t n = text[++i];
            c = n == L'n' ? L'\n' : n == L'r' ? L'\r' : n == L't' ? L'\t' : n;
        }
        out += c;
    }
    return out;
}

// The position of the first '=' that is not escaped (with unescape) or -1.
int FindSeparator(const OvString& line, bool unescape)
{
    for (int i = 0; i < line.Length(); ++i) {
        if (unescape && line[i] == L'\\') ++i;
        else if (line[i] == L'=') return i;
    }
    return -1;
}

}  // namespace

OvString IniDocument::Key(const wchar_t* section, const wchar_t* name)
{
    OvString key(section);
    key += L'\x01';
    key += name;
    return key.MakeLower();
}

bool IniDocument::Load(const wchar_t* path, bool unescape, OvString& error)
{
    values_.clear();
    names_.clear();
    sections_.clear();
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        error = OvFormat(L"Cannot read the file %s", path);
        return false;
    }
    size_t start = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    OvString text;
    if (bytes.size() > start) {
        const char* data = bytes.data() + start;
        int n = static_cast<int>(bytes.size() - start);
        int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, n, nullptr, 0);
        if (units <= 0) {
            error = OvFormat(L"The file %s is not valid UTF-8 text", path);
            return false;
        }
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, n, text.GetBuffer(units), units);
        text.ReleaseBuffer(units);
    }
    OvString section;
    int lineNumber = 0;
    for (int pos = 0; pos <= text.Length();) {
        int end = text.Find(L'\n', pos);
        if (end < 0) end = text.Length();
        OvString line = text.Mid(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        line.Trim();
        if (line.IsEmpty() || line[0] == L';' || line[0] == L'#') {
            if (end == text.Length()) break;
            continue;
        }
        if (line[0] == L'[') {
            if (line[line.Length() - 1] != L']' || line.Length() < 3) {
                error = OvFormat(L"%s, line %d: a section line must be [Name]: %s", path, lineNumber, line);
                return false;
            }
            section = line.Mid(1, line.Length() - 2).Trim();
            bool known = false;
            for (const OvString& seen : sections_) known = known || seen.EqualsNoCase(section);
            if (!known) sections_.push_back(section);
        } else {
            int eq = FindSeparator(line, unescape);
            OvString name = eq > 0 ? line.Left(eq).TrimRight() : OvString();
            if (eq <= 0 || name.IsEmpty()) {
                error = OvFormat(L"%s, line %d: expected Name=Value: %s", path, lineNumber, line);
                return false;
            }
            if (section.IsEmpty()) {
                error = OvFormat(L"%s, line %d: value outside any [Section]: %s", path, lineNumber, line);
                return false;
            }
            OvString value = line.Mid(eq + 1).TrimLeft();
            if (unescape) {
                name = Unescape(name);
                value = Unescape(value);
            }
            OvString key = Key(section, name);
            std::wstring k(key.c_str(), key.Length());
            if (!values_.count(k)) names_[Key(section, L"").c_str()].push_back(name);
            values_[k] = value;
        }
        if (end == text.Length()) break;
    }
    return true;
}

bool IniDocument::Has(const wchar_t* section, const wchar_t* name) const
{
    OvString key = Key(section, name);
    return values_.count(std::wstring(key.c_str(), key.Length())) != 0;
}

OvString IniDocument::Get(const wchar_t* section, const wchar_t* name, const wchar_t* fallback) const
{
    OvString key = Key(section, name);
    auto it = values_.find(std::wstring(key.c_str(), key.Length()));
    return it == values_.end() ? OvString(fallback) : it->second;
}

std::vector<OvString> IniDocument::Names(const wchar_t* section) const
{
    auto it = names_.find(Key(section, L"").c_str());
    return it == names_.end() ? std::vector<OvString>() : it->second;
}
