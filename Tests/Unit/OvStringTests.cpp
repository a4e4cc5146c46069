#include "OvString.h"

#include <gtest/gtest.h>

namespace {

// A manager of its own, with an empty cache, standing for another module's string manager.
class PrivateManager : public OvStringGlobals {
public:
    PrivateManager() = default;
    ~PrivateManager() override = default;
};

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

TEST(OvStringModel, CopySharesUntilTheLastOwnerGoes)
{
    OvString a(L"counted");
    {
        OvString b(a);
        OvString c;
        c = b;
        EXPECT_EQ(a.RefCount(), 3);
        EXPECT_EQ(c.c_str(), a.c_str());
    }
    EXPECT_EQ(a.RefCount(), 1);
}

TEST(OvStringModel, WritesThroughEveryFamilyLeaveSharedCopiesAlone)
{
    OvString original(L"Alpha beta");
    OvString copy(original);
    copy.MakeUpper();
    EXPECT_STREQ(original.c_str(), L"Alpha beta");
    copy = original;
    copy.ReplaceChar(L'a', L'o');
    EXPECT_STREQ(original.c_str(), L"Alpha beta");
    copy = original;
    copy.Replace(L"beta", L"gamma");
    EXPECT_STREQ(original.c_str(), L"Alpha beta");
    EXPECT_STREQ(copy.c_str(), L"Alpha gamma");
    EXPECT_EQ(original.RefCount(), 1);
}

TEST(OvStringModel, CopyOfABufferBeingWrittenDoesNotFollowLaterWrites)
{
    OvString writer(L"first");
    wchar_t* buffer = writer.GetBuffer(32);
    OvString assigned;
    assigned = writer;   // assignment copies as well
    OvString constructed(writer);
    EXPECT_NE(assigned.c_str(), writer.c_str());
    EXPECT_NE(constructed.c_str(), writer.c_str());
    EXPECT_EQ(writer.RefCount(), kOvWritingRefs);
    wcscpy(buffer, L"second");
    writer.ReleaseBuffer();
    EXPECT_STREQ(assigned.c_str(), L"first");
    EXPECT_STREQ(constructed.c_str(), L"first");
    EXPECT_STREQ(writer.c_str(), L"second");
    // Once released the buffer is shared again.
    OvString shared(writer);
    EXPECT_EQ(shared.c_str(), writer.c_str());
    EXPECT_EQ(writer.RefCount(), 2);
}

TEST(OvStringModel, ReleaseBufferKeepsTheLengthInsideTheBuffer)
{
    OvString s;
    wchar_t* buffer = s.GetBuffer(4);
    wmemcpy(buffer, L"abcd", 4);
    s.ReleaseBuffer(100);
    EXPECT_EQ(s.Length(), s.Data()->capacity - 1);
    EXPECT_EQ(s.c_str()[s.Length()], L'\0');
}

TEST(OvStringModel, TextOfAnotherManagerIsCopiedNotShared)
{
    auto* other = new PrivateManager();   // never destroyed, like every manager
    OvString foreign = OvString::Adopt(other->FromText(L"from elsewhere", -1, -1, false, true, true));
    ASSERT_EQ(foreign.Data()->manager, other);
    OvString mine(foreign);
    EXPECT_NE(mine.c_str(), foreign.c_str());
    EXPECT_EQ(mine.Data()->manager, OvStringGlobals::Get());
    EXPECT_EQ(foreign.RefCount(), 1);
    EXPECT_STREQ(mine.c_str(), L"from elsewhere");
}

TEST(OvStringManager, CacheHandsOutTheBufferWithTheLeastSpareRoom)
{
    PrivateManager m;
    OvStringData* big = m.Allocate(400, false);      // capacity 401
    OvStringData* middle = m.Allocate(60, false);    // capacity 61
    OvStringData* small = m.Allocate(20, false);     // capacity 21
    m.Free(big);
    m.Free(middle);
    m.Free(small);
    ASSERT_EQ(m.CachedCount(), 3);
    // Length 30 needs capacity 31: 'small' is too small, 'middle' has the least spare room.
    OvStringData* got = m.Allocate(30, true);
    EXPECT_EQ(got, middle);
    EXPECT_EQ(got->length, 30);
    EXPECT_EQ(got->refs, 1);
    EXPECT_EQ(got->Chars()[30], L'\0');
    // Nothing cached fits 500: a new buffer of exactly that size.
    const LONG made = m.AllocatedCount();
    OvStringData* fresh = m.Allocate(500, true);
    EXPECT_EQ(m.AllocatedCount(), made + 1);
    EXPECT_EQ(fresh->capacity, 501);
    // Without the cache a new buffer is made even when one would fit.
    OvStringData* uncached = m.Allocate(10, false);
    EXPECT_NE(uncached, small);
    // The search stops at the first buffer with 15 or fewer spare units, even if a closer one follows.
    OvStringData* closeFit = m.Allocate(40, false);     // spare 10 for length 30
    OvStringData* closerFit = m.Allocate(32, false);   // spare 2 for length 30
    m.Free(closeFit);
    m.Free(closerFit);
    EXPECT_EQ(m.Allocate(30, true), closeFit);
    for (OvStringData* d : {got, fresh, uncached, closeFit}) m.Free(d);
}

TEST(OvStringManager, CacheTakesSixteenShortBuffers)
{
    PrivateManager m;
    OvStringData* buffers[18];
    for (OvStringData*& d : buffers) d = m.Allocate(8, false);
    OvStringData* large = m.Allocate(1031, false);   // capacity 1032: too large for the cache
    for (OvStringData* d : buffers) m.Free(d);
    EXPECT_EQ(m.CachedCount(), OvStringGlobals::kCacheSlots);
    EXPECT_EQ(m.FreedCount(), 2);
    m.Free(large);
    EXPECT_EQ(m.FreedCount(), 3);
    EXPECT_EQ(m.AllocatedCount() - m.FreedCount() - m.CachedCount(), 0);
}

TEST(OvStringManager, FromTextRules)
{
    PrivateManager m;
    const wchar_t text[] = {L'a', L'b', 0, L'c', L'd', 0};
    struct Case {
        int length, capacity;
        bool own, exact;
        int wantLength;
        bool wantStatic;
    };
    const Case cases[] = {
        {-1, -1, false, false, 2, false},   // up to the terminator
        {5, -1, false, false, 2, false},    // cut at the first NUL
        {5, -1, false, true, 5, false},     // exact length keeps the NUL
        {5, 3, false, true, 3, false},      // the smaller of length and capacity
        {2, 0, false, false, 0, true},      // capacity 0: the shared empty buffer
        {2, 0, true, false, 0, false},      // ... unless an own buffer is asked for
        {0, -1, false, false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "length " << c.length << " capacity " << c.capacity << " own " << c.own);
        OvStringData* d = m.FromText(text, c.length, c.capacity, c.own, c.exact, true);
        EXPECT_EQ(d->length, c.wantLength);
        EXPECT_EQ(d == m.Empty(), c.wantStatic);
        EXPECT_EQ(wmemcmp(d->Chars(), text, c.wantLength), 0);
        EXPECT_EQ(d->Chars()[c.wantLength], L'\0');
        if (d != m.Empty()) m.Free(d);
    }
    EXPECT_EQ(m.AllocateZeroed(0), m.Empty());
    EXPECT_EQ(m.FromNarrow(""), m.Empty());
    OvStringData* zeroed = m.AllocateZeroed(3);
    EXPECT_EQ(zeroed->length, 3);
    EXPECT_EQ(zeroed->Chars()[0] | zeroed->Chars()[1] | zeroed->Chars()[2], 0);
    m.Free(zeroed);
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

}  // namespace
