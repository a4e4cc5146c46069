#include "LogFile.h"

#include "OvProductPaths.h"
#include "OvStringFormat.h"

#include <string>

void LogFile::Open()
{
    if (!lock_) lock_ = CreateMutexW(nullptr, FALSE, nullptr);
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH, temp);
    path_ = OvString(temp, static_cast<int>(n)) + kFileName;
    WriteLine(OvFormat(L"==== %s, process %d ====", GetProgramFile(), static_cast<int64_t>(GetCurrentProcessId())));
}

void LogFile::Log(const wchar_t* scope, const wchar_t* text)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    LogAt(now, scope, text);
}

void LogFile::LogAt(const SYSTEMTIME& t, const wchar_t* scope, const wchar_t* text)
{
    WriteLine(OvFormat(L"%04d-%02d-%02d %02d:%02d:%02d.%03d [%d] %s: %s", t.wYear, t.wMonth, t.wDay, t.wHour,
                       t.wMinute, t.wSecond, t.wMilliseconds, static_cast<int64_t>(GetCurrentProcessId()), scope,
                       text));
}

void LogFile::WriteLine(const OvString& line)
{
    if (path_.IsEmpty()) return;
    OvString full = line + L"\r\n";
    int bytes = WideCharToMultiByte(CP_UTF8, 0, full, full.Length(), nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, full, full.Length(), &utf8[0], bytes, nullptr, nullptr);
    WaitForSingleObject(lock_, INFINITE);   // an abandoned mutex is owned all the same
    // Opened for each line so that several processes can append and nothing is lost on a crash.
    HANDLE file = CreateFileW(path_, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        CloseHandle(file);
    }
    ReleaseMutex(lock_);
}
