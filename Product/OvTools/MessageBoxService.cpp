#include "MessageBoxService.h"

#include "ButtonDialog.h"
#include "LogFile.h"
#include "MessageRequest.h"
#include "OvStringFormat.h"

namespace {

struct Answer {
    const wchar_t* caption;
    int result;
};
// Captions and their results (the Windows message-box values).
const Answer kAnswers[] = {{L"OK", IDOK},       {L"Cancel", IDCANCEL}, {L"Abort", IDABORT}, {L"Retry", IDRETRY},
                           {L"Ignore", IDIGNORE}, {L"Yes", IDYES},       {L"No", IDNO}};

const wchar_t* const kTexts[] = {
    L"",
    L"Do not show this message again",
    L"Do not ask again",
};

// One line of text for the log.
OvString Flatten(const wchar_t* text)
{
    OvString out;
    for (const wchar_t* p = text ? text : L""; *p; ++p) {
        if (*p == L'\r') continue;
        if (*p == L'\n') out += L"\\n";
        else out += *p;
    }
    return out;
}

}  // namespace

void MessageBoxService::Setup(MessageRequest* request, int buttonSet, int, int)
{
    request->buttonSet = buttonSet;
    switch (buttonSet) {
    case MB_YESNO:
        request->AddCaption(L"Yes");
        request->AddCaption(L"No");
        break;
    case MB_OKCANCEL:
        request->AddCaption(L"OK");
        request->AddCaption(L"Cancel");
        break;
    default:
        request->AddCaption(L"OK");
        break;
    }
}

int MessageBoxService::Show(MessageRequest* request, int)
{
    OvStringArray buttons;
    const int count = request->captionCount < 0 ? 0
                      : request->captionCount > MessageRequest::kMaxCaptions ? MessageRequest::kMaxCaptions
                                                                            : request->captionCount;
    for (int i = 0; i < count; ++i) buttons.Add(request->captions[i]);
    if (buttons.IsEmpty()) buttons.Add(L"OK");

    OvString text(request->text);
    if (request->extraText1 && *request->extraText1) text += OvString(L"\r\n\r\n") + request->extraText1;
    log_.Log(L"MessageBox", OvFormat(L"\"%s\": %s", request->title, Flatten(text)));
    int chosen = ButtonDialog::Show(nullptr, request->title, text, buttons);
    OvString answer = chosen >= 0 ? buttons[chosen] : OvString();
    MessageRequest::Assign(request->answer, answer);
    log_.Log(L"MessageBox", OvFormat(L"\"%s\" answered: %s", request->title,
                                     answer.IsEmpty() ? L"(closed without an answer)" : answer.c_str()));
    return chosen;
}

BSTR MessageBoxService::GetText(int id)
{
    const int count = static_cast<int>(sizeof kTexts / sizeof kTexts[0]);
    return SysAllocString(id > 0 && id < count ? kTexts[id] : L"");
}

int MessageBoxService::ResultOf(const wchar_t* answer)
{
    for (const Answer& a : kAnswers)
        if (CompareNoCase(a.caption, answer) == 0) return a.result;
    return IDCANCEL;   // closed without an answer, or a caption of the caller's own
}
