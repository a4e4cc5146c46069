#pragma once
// The installer's message helpers; every message goes through the tools library's box service.

#include "OvString.h"

constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

void ShowMessage(const wchar_t* text, const wchar_t* title, const wchar_t* extraText = L"", int extraValue = 0,
                 bool flag = false);
// Optional parts of a question, filled only when given.
struct QuestionOptions {
    const wchar_t* extraText = nullptr;   // with extraTextId and extraFlag
    int extraTextId = 0;
    bool extraFlag = false;
    int value = 0;                        // a positive value, with valueTextId
    int valueTextId = 0;
};
// 6 (Yes) or 7 (No), or whatever the service reports for a box closed without an answer.
int AskQuestion(const wchar_t* text, const wchar_t* title, const QuestionOptions& options = {});
