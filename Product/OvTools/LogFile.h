#pragma once
// The installation log: "%TEMP%\Orvane Install Wizard.log", UTF-8, appended to by every run.
// Each line: date and time, process id, scope, text.

#include "OvToolsInterface.h"

class LogFile : public IOvDiagnostics {
public:
    static constexpr const wchar_t* kFileName = L"Orvane Install Wizard.log";

    void Open();
    void Log(const wchar_t* scope, const wchar_t* text) override;
    void LogAt(const SYSTEMTIME& time, const wchar_t* scope, const wchar_t* text) override;
    void QueryLogPath(OvDllString& path) override { path.Set(path_); }

private:
    void WriteLine(const OvString& line);
    OvString path_;
    // A kernel mutex: a writer's thread that is killed while writing does not leave it held.
    HANDLE lock_ = nullptr;
};
