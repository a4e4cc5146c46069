// The log scope and reports, read back from the tools library's log; the elapsed-time timers.

#include "OvLog.h"
#include "OvTimer.h"
#include "ToolsLoaded.h"

#include <gtest/gtest.h>

namespace {

// "Finish (<n> ms)" or "Finish (result: <r>) (<n> ms)": n, or -1 when the text has another form.
int FinishedAfter(const OvString& text, const wchar_t* result)
{
    OvString head = result ? OvString(L"Finish (result: ") + result + L") (" : OvString(L"Finish (");
    if (!text.StartsWith(head) || !text.EndsWith(L" ms)")) return -1;
    OvString number = text.Mid(head.Length(), text.Length() - head.Length() - 4);
    if (number.IsEmpty()) return -1;
    for (int i = 0; i < number.Length(); ++i)
        if (number[i] < L'0' || number[i] > L'9') return -1;
    return _wtoi(number);
}

class Log : public ToolsLoadedTest {};

TEST_F(Log, ScopeWritesStartAndFinishWithTheElapsedTime)
{
    LogReader log;
    {
        OvLogScope scope(L"LogTest::Plain");
        Sleep(50);
    }
    {
        OvLogScope scope(L"LogTest::WithResult");
        scope.SetResult(-3);
    }
    {
        OvLogScope scope(L"LogTest::Disabled", false);
        scope.SetResult(1);
        scope.Log(L"not written");
    }
    const std::vector<OvString> plain = log.Texts(L"LogTest::Plain");
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_STREQ(plain[0].c_str(), L"Start");
    EXPECT_GE(FinishedAfter(plain[1], nullptr), 40) << plain[1].c_str();

    const std::vector<OvString> withResult = log.Texts(L"LogTest::WithResult");
    ASSERT_EQ(withResult.size(), 2u);
    EXPECT_STREQ(withResult[0].c_str(), L"Start");
    EXPECT_GE(FinishedAfter(withResult[1], L"-3"), 0) << withResult[1].c_str();

    EXPECT_TRUE(log.Texts(L"LogTest::Disabled").empty());
}

TEST_F(Log, ReportFillsTheFormat)
{
    LogReader log;
    OvLogReport(L"LogTest::Report", L"Error starting thread, errno=%d (%s) %X", 12, L"text", 0xBEEFu);
    const std::vector<OvString> texts = log.Texts(L"LogTest::Report");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_STREQ(texts[0].c_str(), L"Error starting thread, errno=12 (text) BEEF");
}

template <class Timer>
void ExpectElapsedGrowsAndResets()
{
    Timer timer;
    Sleep(200);
    const DWORD first = timer.Elapsed(true);   // read and start again
    EXPECT_GE(first, 150u);
    EXPECT_LT(first, 60000u);
    EXPECT_LT(timer.Elapsed(), first);
    Sleep(200);
    const DWORD second = timer.Elapsed();
    EXPECT_GE(second, 150u);
    timer.Reset();
    EXPECT_LT(timer.Elapsed(), second);
}

TEST(Timers, LowPrecisionElapsedGrowsAndResets)
{
    ExpectElapsedGrowsAndResets<OvTimerLowPrecision>();
}

TEST(Timers, PerformanceCounterElapsedGrowsAndResets)
{
    ExpectElapsedGrowsAndResets<OvTimer>();
}

}  // namespace
