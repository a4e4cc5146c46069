#include "MessageRequest.h"

#include <initializer_list>

namespace {
BSTR EmptyText() { return SysAllocString(L""); }
}

MessageRequest::MessageRequest()
    : text(EmptyText()), title(EmptyText()), flag(0), extraText1(EmptyText()), extraText2(EmptyText()),
      extraText3(EmptyText()), extraFlag(0), firstButton(EmptyText()), secondButton(EmptyText()),
      captionCount(0), buttonSet(0), reservedText1068(EmptyText()), reserved1072(1), questionValue(-1),
      serviceText(EmptyText()), answer(EmptyText()), reservedText1088(EmptyText())
{
    for (BSTR& caption : captions) caption = EmptyText();
}

MessageRequest::~MessageRequest()
{
    for (BSTR field : {text, title, extraText1, extraText2, extraText3, firstButton, secondButton,
                       reservedText1068, serviceText, answer, reservedText1088})
        SysFreeString(field);
    for (BSTR caption : captions) SysFreeString(caption);
}

void MessageRequest::Assign(BSTR& field, const wchar_t* value)
{
    BSTR fresh = SysAllocString(value ? value : L"");
    SysFreeString(field);
    field = fresh;
}

bool MessageRequest::AddCaption(const wchar_t* caption)
{
    if (captionCount < 0 || captionCount >= kMaxCaptions) return false;
    Assign(captions[captionCount++], caption);
    return true;
}
