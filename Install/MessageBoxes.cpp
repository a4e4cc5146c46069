#include "MessageBoxes.h"

#include "MessageRequest.h"
#include "OvLog.h"
#include "OvProductLibraries.h"

namespace {

IOvMessageBoxService* BoxService()
{
    IOvTools* tools = GetToolsInterface(false);
    return tools ? tools->GetMessageBoxes() : nullptr;
}

OvString TakeServiceText(IOvMessageBoxService* service, int id)
{
    BSTR text = service->GetText(id);
    OvString result(text);
    SysFreeString(text);
    return result;
}

}  // namespace

void ShowMessage(const wchar_t* text, const wchar_t* title, const wchar_t* extraText, int extraValue, bool flag)
{
    IOvMessageBoxService* service = BoxService();
    if (!service) {
        OvLogWrite(L"ShowMessage", OvString(L"No message-box service for: ") + title);
        return;
    }
    MessageRequest request;
    MessageRequest::Assign(request.text, text);
    MessageRequest::Assign(request.title, title);
    request.flag = flag ? 1 : 0;
    service->Setup(&request, MB_OK, IDOK, IDOK);
    if (extraText && *extraText) {
        MessageRequest::Assign(request.extraText1, extraText);
        request.extraFlag = static_cast<uint32_t>(extraValue);
    }
    service->Show(&request, 1);
}

int AskQuestion(const wchar_t* text, const wchar_t* title, const QuestionOptions& options)
{
    IOvMessageBoxService* service = BoxService();
    if (!service) {
        OvLogWrite(L"AskQuestion", OvString(L"No message-box service for: ") + title);
        return kAnswerNo;
    }
    MessageRequest request;
    MessageRequest::Assign(request.text, text);
    MessageRequest::Assign(request.title, title);
    service->Setup(&request, MB_YESNO, IDYES, IDNO);
    if (options.extraText && *options.extraText) {
        MessageRequest::Assign(request.extraText1, options.extraText);
        MessageRequest::Assign(request.extraText2, TakeServiceText(service, options.extraTextId));
        request.extraFlag = options.extraFlag ? 1 : 0;
    }
    if (options.value > 0) {
        request.questionValue = options.value;
        MessageRequest::Assign(request.serviceText, TakeServiceText(service, options.valueTextId));
    }
    service->Show(&request, 1);
    return service->ResultOf(request.answer);
}
