#pragma once
// The record exchanged with the tools library's message-box service (1092 bytes on 32-bit).

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>

struct MessageRequest {
    static constexpr int kMaxCaptions = 256;

    BSTR text;
    BSTR title;
    uint8_t flag;
    BSTR extraText1;
    BSTR extraText2;
    BSTR extraText3;
    uint32_t extraFlag;
    BSTR captions[kMaxCaptions];
    BSTR firstButton;
    BSTR secondButton;
    int32_t captionCount;
    int32_t buttonSet;          // written by the service's set-up
    BSTR reservedText1068;
    int32_t reserved1072;
    int32_t questionValue;
    BSTR serviceText;
    BSTR answer;                // written by the service when the box closes
    BSTR reservedText1088;

    MessageRequest();
    ~MessageRequest();
    MessageRequest(const MessageRequest&) = delete;
    MessageRequest& operator=(const MessageRequest&) = delete;

    // Replaces a text field (freeing the old one).
    static void Assign(BSTR& field, const wchar_t* value);
    // Appends a caption while the list holds fewer than 256.
    bool AddCaption(const wchar_t* caption);
};

#if !defined(_WIN64)
static_assert(offsetof(MessageRequest, flag) == 8);
static_assert(offsetof(MessageRequest, extraText1) == 12);
static_assert(offsetof(MessageRequest, extraFlag) == 24);
static_assert(offsetof(MessageRequest, captions) == 28);
static_assert(offsetof(MessageRequest, firstButton) == 1052);
static_assert(offsetof(MessageRequest, secondButton) == 1056);
static_assert(offsetof(MessageRequest, captionCount) == 1060);
static_assert(offsetof(MessageRequest, buttonSet) == 1064);
static_assert(offsetof(MessageRequest, reservedText1068) == 1068);
static_assert(offsetof(MessageRequest, reserved1072) == 1072);
static_assert(offsetof(MessageRequest, questionValue) == 1076);
static_assert(offsetof(MessageRequest, serviceText) == 1080);
static_assert(offsetof(MessageRequest, answer) == 1084);
static_assert(offsetof(MessageRequest, reservedText1088) == 1088);
static_assert(sizeof(MessageRequest) == 1092);
#endif
