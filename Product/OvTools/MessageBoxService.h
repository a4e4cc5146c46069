#pragma once
// Modal message boxes from a MessageRequest. Every box shown is written to the log with its
// title, text and answer.

#include "OvToolsInterface.h"

class LogFile;

class MessageBoxService : public IOvMessageBoxService {
public:
    explicit MessageBoxService(LogFile& log) : log_(log) {}

    int Show(MessageRequest* request, int modal) override;
    BSTR GetText(int id) override;
    int ResultOf(const wchar_t* answer) override;
    void Setup(MessageRequest* request, int buttonSet, int firstResult, int secondResult) override;

private:
    LogFile& log_;
};
