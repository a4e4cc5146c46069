#pragma once
// A strict reader of the library's INI files (UTF-8): "[Section]" lines and "Name=Value" lines,
// blank lines and comments (';' or '#'). Anything else makes the file malformed.

#include "OvString.h"

#include <map>
#include <string>
#include <vector>

class IniDocument {
public:
    // False with an error text naming the file and the line when the file is missing or malformed.
    bool Load(const wchar_t* path, bool unescape, OvString& error);

    bool Has(const wchar_t* section, const wchar_t* name) const;
    OvString Get(const wchar_t* section, const wchar_t* name, const wchar_t* fallback = L"") const;
    std::vector<OvString> Names(const wchar_t* section) const;
    // The sections in the order of the file.
    const std::vector<OvString>& Sections() const { return sections_; }

private:
    static OvString Key(const wchar_t* section, const wchar_t* name);
    std::map<std::wstring, OvString> values_;
    std::map<std::wstring, std::vector<OvString>> names_;
    std::vector<OvString> sections_;
};
