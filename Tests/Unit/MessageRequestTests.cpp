#include "MessageRequest.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageRequestTest, StartsWithEmptyTextsAndItsInitialValues)
{
    MessageRequest request;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&request);
    auto textAt = [&](int offset) { return *reinterpret_cast<const BSTR*>(bytes + offset); };
    auto numberAt = [&](int offset) { return *reinterpret_cast<const int32_t*>(bytes + offset); };
    for (int offset : {0, 4, 12, 16, 20, 1052, 1056, 1068, 1080, 1084, 1088}) {
        ASSERT_NE(textAt(offset), nullptr) << offset;
        EXPECT_EQ(SysStringLen(textAt(offset)), 0u) << offset;
    }
    for (int i = 0; i < 256; ++i) EXPECT_NE(textAt(28 + 4 * i), nullptr);
    EXPECT_EQ(bytes[8], 0);
    EXPECT_EQ(numberAt(24), 0);
    EXPECT_EQ(numberAt(1060), 0);
    EXPECT_EQ(numberAt(1064), 0);
    EXPECT_EQ(numberAt(1072), 1);
    EXPECT_EQ(numberAt(1076), -1);
}

TEST(MessageRequestTest, CaptionListHoldsAtMost256)
{
    MessageRequest request;
    for (int i = 0; i < 256; ++i) ASSERT_TRUE(request.AddCaption(L"x"));
    EXPECT_FALSE(request.AddCaption(L"one too many"));
    EXPECT_EQ(request.captionCount, 256);
    EXPECT_EQ(SysStringLen(request.secondButton), 0u);
}

}  // namespace
