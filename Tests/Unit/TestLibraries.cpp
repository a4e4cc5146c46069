#include "TestLibraries.h"

#include "OvProcessInfo.h"
#include "OvProductLibraries.h"
#include "OvStringFormat.h"

#include <string>

namespace {

void RemoveTree(const OvString& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder + L"*", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            OvString name(found.cFileName);
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else
                DeleteFileW(folder + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder);
}

long long FileSize(const OvString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

OvString BuiltFile(const wchar_t* unixPath)
{
    OvString path = OvString(L"Z:") + unixPath;
    wchar_t* chars = path.GetBuffer(0);
    for (int i = 0; chars[i]; ++i)
        if (chars[i] == L'/') chars[i] = L'\\';
    path.ReleaseBuffer(path.Length());
    return path;
}

TestFolder::TestFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = OvFormat(L"%s%s %d\\", temp, name, static_cast<int64_t>(GetCurrentProcessId()));
    RemoveTree(path_);
    CreateDirectoryW(path_, nullptr);
}

TestFolder::~TestFolder()
{
    RemoveTree(path_);
}

OvString TestFolder::Copy(const OvString& source, const wchar_t* fileName, const wchar_t* subfolder)
{
    OvString folder = path_;
    if (subfolder && *subfolder) {
        folder = folder + subfolder + L"\\";
        CreateDirectoryW(folder, nullptr);
    }
    OvString target = folder + fileName;
    return CopyFileW(source, target, FALSE) ? target : OvString();
}

LogReader::LogReader()
{
    IOvTools* tools = GetToolsInterface(false);
    IOvDiagnostics* log = tools ? tools->GetDiagnostics() : nullptr;
    if (!log) return;
    OvDllString receiver(path_);
    log->QueryLogPath(receiver);
    start_ = FileSize(path_);
}

std::vector<OvString> LogReader::Texts(const wchar_t* scope) const
{
    std::vector<OvString> texts;
    HANDLE file = CreateFileW(path_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return texts;
    LARGE_INTEGER position;
    position.QuadPart = start_;
    SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
    std::string bytes;
    char block[4096];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0) bytes.append(block, read);
    CloseHandle(file);

    const int units = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(units, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], units);
    // "<date> <time> [<process id>] <scope>: <text>"
    const std::wstring marker =
        OvFormat(L"[%d] %s: ", static_cast<int64_t>(GetCurrentProcessId()), scope).c_str();
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = text.find(L"\r\n", lineStart);
        if (lineEnd == std::wstring::npos) lineEnd = text.size();
        const std::wstring line = text.substr(lineStart, lineEnd - lineStart);
        const size_t at = line.find(marker);
        if (at != std::wstring::npos) {
            const std::wstring rest = line.substr(at + marker.size());
            texts.push_back(OvString(rest.c_str(), static_cast<int>(rest.size())));
        }
        lineStart = lineEnd + 2;
    }
    return texts;
}

void WithToolsLibrary::SetUp()
{
    folder_ = std::make_unique<TestFolder>(L"WithToolsLibrary");
    ASSERT_FALSE(folder_->Copy(BuiltFile(OV_TOOLS_DLL_PATH), L"OvTools.dll").IsEmpty());
    OvProcessInfo::SetLibrariesFolder(folder_->Path());
    ASSERT_TRUE(LoadToolsModule(L""));
}

void WithToolsLibrary::TearDown()
{
    UnloadProductLibraries(true);
    OvProcessInfo::SetLibrariesFolder(L"");
    folder_.reset();
}

void PumpPendingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
