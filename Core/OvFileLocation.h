#pragma once
// A local path or a URL with a map of request properties. Made from text, a tagged file name is
// unpacked into its path and properties, and a trailing ";data" after a file extension becomes
// the property "PostExtensionData".

#include "OvPropertyMap.h"
#include "OvString.h"

#include <cstdint>

class OvFileLocation {
public:
    OvFileLocation() = default;
    OvFileLocation(const wchar_t* text);
    OvFileLocation(const wchar_t* path, const OvPropertyMap& properties);

    // Replaces the path by the text, unpacked; clearProperties empties the properties first.
    void Unpack(const wchar_t* text, bool clearProperties);

    // Takes the path as it is (a file-system name, never unpacked).
    void SetPlainPath(const wchar_t* path) { path_ = path; }
    const OvString& GetPath() const { return path_; }
    OvPropertyMap& Properties() { return properties_; }
    const OvPropertyMap& Properties() const { return properties_; }
    bool IsUrl() const { return path_.Find(L"://") >= 0; }

    // The path as the file system takes it: "file://" URLs made local, '/' turned into '\' in
    // local paths, "(Install Drive):" replaced by the install folder's drive, "\\?\" in front of
    // a local path longer than 260 characters.
    OvString Normalized() const;

    // Parts of the path (a URL's query after the last '?' is dropped first).
    OvString GetFolder() const;      // up to and including the last '/' or '\'
    OvString GetFileName() const;    // after the folder
    OvString GetTitle() const;       // the file name without its extension
    OvString GetExtension() const;   // after the file name's last '.', without it

private:
    OvString SplittablePath() const;
    int FolderEnd(const OvString& path) const;

    OvString path_;
    OvPropertyMap properties_;
};

// The location's file exists: through the tools library's test when asked for and loaded, else
// the system's attributes.
bool FileExists(const OvFileLocation& location, bool useTools);
// Size of a local file, -1 when unknown (URLs are sized by the downloader).
int64_t GetFileSize(const OvFileLocation& location, bool allowNetwork);
