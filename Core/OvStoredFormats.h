#pragma once
// Stored location texts: the tagged file name ("XMLFN"), the plain path with a trailing property,
// and the tests by which path code recognises tagged and special location texts.
//
// A tagged file name is a tagged property text with the root "XMLFN", version "1.0" and an
// item "Filename" holding the path; its other items are properties of the location:
//   <XMLFN version="1.0">
//   <Item Name="Filename">C:\Music\a.mp3</Item>
//   <Item Name="HTTPREQUEST_TYPE">HEAD</Item>
//   </XMLFN>

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

// Reads a tagged file name: the root must be "XMLFN" with the version text exactly "1.0", and the
// document free of parse faults. The "Filename" item (ignoring case) gives the path, every other
// item is stored in properties (existing properties stay unless replaced). False with an empty
// path, and properties untouched, when the text is not such a document.
bool ReadTaggedFileName(const wchar_t* text, OvString& path, OvPropertyMap& properties);

// Unpacks a location text into its path and properties, clearing the properties first when
// asked: a tagged file name is read with ReadTaggedFileName (an unreadable one gives an empty
// path); any other text goes through SplitTrailingProperty, the data becoming the property
// "PostExtensionData". Returns the path.
OvString UnpackLocationText(const wchar_t* text, OvPropertyMap& properties, bool clearProperties);

// The tagged file name of a path and its properties: the properties and a "Filename" item with
// the path (replacing a property of that name), written as the tagged property text with the
// tag "XMLFN" and the version "1.0" whatever the locale's decimal separator.
OvString WriteTaggedFileName(const wchar_t* path, const OvPropertyMap& properties);

// The "TypeName" property, or the default when it is missing.
OvString GetTypeName(const OvPropertyMap& properties, const wchar_t* defaultValue = nullptr);
// Stores the "TypeName" property (an empty name is stored, not removed).
void SetTypeName(OvPropertyMap& properties, const wchar_t* typeName);
