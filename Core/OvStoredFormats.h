#pragma once
// Stored location texts: the plain path with a trailing property and the tests by which path
// code recognises tagged and special location texts.

#include "OvPropertyMap.h"
#include "OvString.h"

// Property that receives the data after the ';' of a plain location with a trailing property.
inline constexpr const wchar_t kOvPostExtensionData[] = L"PostExtensionData";
// Property naming the type of a location's content.
inline constexpr const wchar_t kOvTypeName[] = L"TypeName";

// Starts with "<XMLFN version=" (ignoring case).
bool IsTaggedFileName(const wchar_t* text);
// Starts with "(", a name of letters and blanks holding at least two letters, ")" and ":", as
// "(Install Drive):" does.
bool IsDriveTokenPath(const wchar_t* text);
// Contains ".tvlb", ".ovtv" or ".tvgd" (ignoring case), is a drive-token path, or starts with
// "<XMLPH version=" (ignoring case).
bool IsSpecialLocationText(const wchar_t* text);
// Starts with "(0x", is longer than 13 characters and has ')', ':' and '\' at 11, 12 and 13.
bool IsVolumePath(const wchar_t* text);
// Not empty, not a volume path, without "://" and not a special location text.
bool IsPlainLocalPath(const wchar_t* text);

// A text without "://" that does not end in '\' and whose last ';' follows its last '.' with
// one to five characters between them: path is the text before that ';', data the text after
// it. False (path = text, data empty) otherwise.
bool SplitTrailingProperty(const wchar_t* text, OvString& path, OvString& data);

// The "TypeName" property, or the default when it is missing.
OvString GetTypeName(const OvPropertyMap& properties, const wchar_t* defaultValue = nullptr);
// Stores the "TypeName" property (an empty name is stored, not removed).
void SetTypeName(OvPropertyMap& properties, const wchar_t* typeName);
