#include "BuildPaths.h"
#include "OvProductLibraries.h"
#include "OvStringArray.h"
#include "OvStringSearch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

OvString ToolsLibraryPath() { return BuildFile(OV_TOOLS_DLL_PATH); }

// Every operation that searches or orders ignoring case, run once.
struct Answers {
    std::wstring replaced;
    int hits;
    int found;
    int foundPart;
    int start, end;
    std::wstring sorted;
};

Answers RunCaseInsensitiveOperations()
{
    Answers a;
    OvString text(L"The KEY, the key and a Key; keys.");
    const wchar_t* patterns[] = {L"key", L"the"};
    const wchar_t* replacements[] = {L"lock", L"a"};
    a.hits = text.Replace(patterns, replacements, 2, false);
    a.replaced = text.c_str();
    const OvStringArray items{L"Settings", L"Installer", L"Properties"};
    a.found = items.FindInArray(L"INSTALLER", false);
    a.foundPart = items.FindInArray(L"PERT", false, false);
    FindEnclosed(L"x <B>bold</b> y", a.start, a.end, L"<b>", L"</B>", 0, false, false, false);
    OvStringArray sorted{L"delta", L"Alpha", L"charlie", L"Bravo"};
    sorted.Sort(1);
    a.sorted = sorted.Join(L",").c_str();
    return a;
}

TEST(OvStringToolsService, LoadedTextServiceGivesTheSameAnswersAsTheOwnFallback)
{
    ASSERT_EQ(GetTextService(), nullptr);
    const Answers own = RunCaseInsensitiveOperations();
    EXPECT_EQ(own.hits, 6);
    EXPECT_EQ(own.replaced, L"a lock, a lock and a lock; locks.");

    bool loaded = false;
    ASSERT_TRUE(LoadProductLibrary(ToolsLibraryPath().c_str(), kOvToolsLibrary, &loaded));
    ASSERT_NE(GetTextService(), nullptr);
    const Answers service = RunCaseInsensitiveOperations();
    UnloadProductLibraries(false);
    EXPECT_EQ(GetTextService(), nullptr);

    EXPECT_EQ(service.replaced, own.replaced);
    EXPECT_EQ(service.hits, own.hits);
    EXPECT_EQ(service.found, 1);
    EXPECT_EQ(service.found, own.found);
    EXPECT_EQ(service.foundPart, 2);
    EXPECT_EQ(service.foundPart, own.foundPart);
    EXPECT_EQ(service.start, 5);
    EXPECT_EQ(service.end, 9);
    EXPECT_EQ(service.start, own.start);
    EXPECT_EQ(service.end, own.end);
    EXPECT_EQ(service.sorted, L"Alpha,Bravo,charlie,delta");
    EXPECT_EQ(service.sorted, own.sorted);
}

}  // namespace
