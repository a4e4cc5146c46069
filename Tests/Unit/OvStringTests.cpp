#include "OvString.h"
#include "OvStringFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(OvStringModel, EmptyValuesShareTheStaticBuffer)
{
    OvString a;
    OvString b(static_cast<const wchar_t*>(nullptr));
    OvString c(L"");
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.c_str(), c.c_str());
    EXPECT_EQ(a.RefCount(), kOvStaticRefs);
    EXPECT_EQ(a.Length(), 0);
    EXPECT_EQ(a.c_str()[0], L'\0');
    OvString d(a);
    EXPECT_EQ(d.RefCount(), kOvStaticRefs);
}

TEST(OvStringModel, HeaderHoldsManagerLengthCapacityAndCount)
{
    OvString s(L"hello");
    const OvStringData* data = s.Data();
    EXPECT_EQ(data->manager, OvStringGlobals::Get());
    EXPECT_EQ(data->length, 5);
    EXPECT_GE(data->capacity, 6);
    EXPECT_EQ(data->refs, 1);
    EXPECT_EQ(reinterpret_cast<const char*>(s.c_str()) - reinterpret_cast<const char*>(data), 16);
    EXPECT_EQ(s.c_str()[5], L'\0');
}

TEST(OvStringModel, CopySharesAndWriteCopies)
{
    OvString a(L"shared text");
    OvString b(a);
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.RefCount(), 2);
    b += L"!";
    EXPECT_NE(a.c_str(), b.c_str());
    EXPECT_STREQ(a.c_str(), L"shared text");
    EXPECT_STREQ(b.c_str(), L"shared text!");
    EXPECT_EQ(a.RefCount(), 1);
    EXPECT_EQ(b.RefCount(), 1);
}

TEST(OvStringModel, SoleOwnerWritesInPlace)
{
    OvString a(L"abc");
    a.GetBuffer(40);
    a.ReleaseBuffer();
    const wchar_t* before = a.c_str();
    a += L"def";
    EXPECT_EQ(a.c_str(), before);
    EXPECT_STREQ(a.c_str(), L"abcdef");
}

TEST(OvStringModel, BufferHandedOutForWritingIsNeverShared)
{
    OvString writer(L"start");
    wchar_t* buffer = writer.GetBuffer(16);
    EXPECT_EQ(writer.RefCount(), kOvWritingRefs);
    OvString copy(writer);
    EXPECT_NE(copy.c_str(), writer.c_str());
    EXPECT_EQ(copy.RefCount(), 1);
    wcscpy(buffer, L"changed");
    EXPECT_STREQ(copy.c_str(), L"start");
    writer.ReleaseBuffer();
    EXPECT_EQ(writer.RefCount(), 1);
    EXPECT_STREQ(writer.c_str(), L"changed");
    EXPECT_EQ(writer.Length(), 7);
}

TEST(OvStringModel, GetBufferOnSharedTextMakesAPrivateCopy)
{
    OvString a(L"one");
    OvString b(a);
    wchar_t* buffer = b.GetBuffer(3);
    buffer[0] = L'X';
    b.ReleaseBuffer(3);
    EXPECT_STREQ(a.c_str(), L"one");
    EXPECT_STREQ(b.c_str(), L"Xne");
}

TEST(OvStringModel, FreedShortBuffersAreReused)
{
    OvStringGlobals* g = OvStringGlobals::Get();
    const wchar_t* first;
    {
        OvString s(L"cache me");
        first = s.c_str();
    }
    LONG allocated = g->AllocatedCount();
    OvString t(L"cached!");
    EXPECT_EQ(g->AllocatedCount(), allocated);
    EXPECT_EQ(t.c_str(), first);
}

TEST(OvStringModel, LongBuffersBypassTheCache)
{
    OvStringGlobals* g = OvStringGlobals::Get();
    LONG freed = g->FreedCount();
    {
        OvString big;
        big.GetBuffer(5000);
        big.ReleaseBuffer(0);
    }
    EXPECT_EQ(g->FreedCount(), freed + 1);
}

TEST(OvStringModel, AppendingAPieceOfItself)
{
    OvString s(L"abc");
    s.Append(s.c_str() + 1, 2);
    EXPECT_STREQ(s.c_str(), L"abcbc");
    s += s;
    EXPECT_STREQ(s.c_str(), L"abcbcabcbc");
}

TEST(OvStringModel, AssigningFromOwnTextKeepsIt)
{
    OvString s(L"hello world");
    s = s.c_str() + 6;
    EXPECT_STREQ(s.c_str(), L"world");
}

TEST(OvStringModel, NarrowBytesBecomeCodeUnitsOfTheSameValue)
{
    OvString s = OvString::FromNarrow("A\xE9\xFF");
    ASSERT_EQ(s.Length(), 3);
    EXPECT_EQ(s[1], 0xE9);
    EXPECT_EQ(s[2], 0xFF);
}

TEST(OvStringModel, LengthConstructorStopsAtNul)
{
    const wchar_t text[] = {L'a', L'b', 0, L'c'};
    EXPECT_EQ(OvString(text, 4).Length(), 2);
}

TEST(OvStringCompare, IgnoresCaseThroughTheFoldTable)
{
    EXPECT_EQ(CompareNoCase(L"ABC", L"abc"), 0);
    EXPECT_LT(CompareNoCase(L"a", L"B"), 0);
    EXPECT_GT(CompareNoCase(L"abd", L"ABC"), 0);
    EXPECT_LT(CompareNoCase(L"ab", L"abc"), 0);
    EXPECT_EQ(CompareNoCase(nullptr, L""), 0);
    EXPECT_EQ(CompareNoCase(L"\u00C9T\u00C9", L"\u00E9t\u00E9"), 0);
    EXPECT_TRUE(OvString(L"Kestrel").StartsWithNoCase(L"kEST"));
}

TEST(OvStringFormatBasics, TextAndNumbers)
{
    EXPECT_STREQ(OvFormat(L"%s has %d files", L"Dist", 42).c_str(), L"Dist has 42 files");
    EXPECT_STREQ(OvFormat(L"%s|%s", OvString(L"a"), "b").c_str(), L"a|b");
    EXPECT_STREQ(OvFormat(L"%5d", 42).c_str(), L"00042");
    EXPECT_STREQ(OvFormat(L"% 5d", 42).c_str(), L"   42");
    EXPECT_STREQ(OvFormat(L"%d", -7).c_str(), L"-7");
    EXPECT_STREQ(OvFormat(L"%s", static_cast<const wchar_t*>(nullptr)).c_str(), L"(null)");
    EXPECT_STREQ(OvFormat(L"%p", 255).c_str(), L"000000FF");
    EXPECT_STREQ(OvFormat(L"100%% %d").c_str(), L"100% 0");
}

}  // namespace
