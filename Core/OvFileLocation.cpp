#include "OvFileLocation.h"

#include "OvFileSystem.h"
#include "OvProductLibraries.h"
#include "OvProductPaths.h"
#include "OvStoredFormats.h"

#include <windows.h>

#include <cwctype>
#include <string>

namespace {

constexpr int kMaxPlainPath = 260;

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// %XX escapes decoded as UTF-8 bytes.
OvString DecodeUrlEscapes(const OvString& text)
{
    std::string bytes;
    for (int i = 0; i < text.Length(); ++i) {
        wchar_t c = text[i];
        if (c == L'%' && i + 2 < text.Length() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else {
            char encoded[4];
            int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, encoded, 4, nullptr, nullptr);
            bytes.append(encoded, n > 0 ? n : 0);
        }
    }
    int units = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    OvString decoded;
    if (units > 0) {
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), decoded.GetBuffer(units), units);
        decoded.ReleaseBuffer(units);
    }
    return decoded;
}

OvString Backslashes(const OvString& text)
{
    OvString out(text);
    out.ReplaceChar(L'/', L'\\');
    return out;
}

}  // namespace

OvFileLocation::OvFileLocation(const wchar_t* text)
{
    Unpack(text, true);
}

OvFileLocation::OvFileLocation(const wchar_t* path, const OvPropertyMap& properties) : properties_(properties)
{
    Unpack(path, false);
}

void OvFileLocation::Unpack(const wchar_t* text, bool clearProperties)
{
    path_ = UnpackLocationText(text, properties_, clearProperties);
}

OvString OvFileLocation::Normalized() const
{
    OvString path = path_;
    if (path.StartsWithNoCase(L"file://")) {
        path = path.Mid(7);
        if (path.StartsWithNoCase(L"localhost/")) path = path.Mid(10);
        // "file:///C:/..." leaves "/C:/...": the slash before a drive letter is not part of the path.
        if (path.Length() >= 3 && path[0] == L'/' && iswalpha(path[1]) && path[2] == L':') path = path.Mid(1);
        path = Backslashes(DecodeUrlEscapes(path));
    } else if (path.Find(L"://") < 0) {
        path = Backslashes(path);
    }
    if (path.StartsWithNoCase(L"(Install Drive):")) {
        const OvString install = GetInstallFolder();
        path = install.Left(2) + path.Mid(16);
    }
    if (path.Find(L"://") < 0 && path.Length() > kMaxPlainPath) path = WithLongPathPrefix(path);
    return path;
}

OvString OvFileLocation::SplittablePath() const
{
    if (!IsUrl()) return path_;
    const int query = path_.ReverseFind(L'?');
    return query < 0 ? path_ : path_.Left(query);
}

int OvFileLocation::FolderEnd(const OvString& path) const
{
    // The scheme and its "://" never hold the folder's end.
    const int scheme = path.Find(L"://");
    const int from = scheme < 0 ? 0 : scheme + 3;
    int end = -1;
    for (int i = from; i < path.Length(); ++i)
        if (path[i] == L'/' || path[i] == L'\\') end = i;
    return end;
}

OvString OvFileLocation::GetFolder() const
{
    const OvString path = SplittablePath();
    return path.Left(FolderEnd(path) + 1);
}

OvString OvFileLocation::GetFileName() const
{
    const OvString path = SplittablePath();
    const int end = FolderEnd(path);
    if (end < 0 && path.Find(L"://") >= 0) return OvString();
    return path.Mid(end + 1);
}

OvString OvFileLocation::GetTitle() const
{
    const OvString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

OvString OvFileLocation::GetExtension() const
{
    const OvString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? OvString() : name.Mid(dot + 1);
}

bool FileExists(const OvFileLocation& location, bool useTools)
{
    const OvString path = location.Normalized();
    if (path.IsEmpty()) return false;
    if (useTools) {
        IOvTools* tools = GetToolsInterface(false);
        if (IOvFileSystemService* service = tools ? tools->GetFileSystem() : nullptr)
            return service->FileExists(path, 0);
    }
    return FileExists(path.c_str());
}

int64_t GetFileSize(const OvFileLocation& location, bool)
{
    if (location.IsUrl()) return -1;
    return GetLocalFileSize(location.Normalized());
}
