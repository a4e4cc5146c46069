#include "ToolsLoaded.h"

#include "OvProductLibraries.h"
#include "OvProductPaths.h"
#include "OvStringFormat.h"

#include <string>

void ToolsLoadedTest::SetUp()
{
    ToolsFolderTest::SetUp();
    if (HasFatalFailure()) return;
    SetLibrariesFolder(folder_);
    ASSERT_TRUE(LoadToolsModule(L""));
}

LogReader::LogReader()
{
    IOvTools* tools = GetToolsInterface(false);
    IOvDiagnostics* log = tools ? tools->GetDiagnostics() : nullptr;
    if (!log) return;
    OvDllString receiver(path_);
    log->QueryLogPath(receiver);
    start_ = GetLocalFileSize(path_);
    if (start_ < 0) start_ = 0;
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

void PumpPendingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
