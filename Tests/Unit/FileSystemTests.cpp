// File-system helpers on the real file system of the test prefix, in a folder made per test.

#include "OvStringNumbers.h"
#include "ToolsFolder.h"

namespace {

struct PathCase {
    const char* name;
    const wchar_t* input;
    const wchar_t* expected;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class TrailingBackslashTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(TrailingBackslashTest, Table)
{
    EXPECT_STREQ(EnsureTrailingBackslash(GetParam().input).c_str(), GetParam().expected);
}
const PathCase kTrailing[] = {
    {"Empty", L"", L""},
    {"Appended", L"C:\\Temp", L"C:\\Temp\\"},
    {"Kept", L"C:\\Temp\\", L"C:\\Temp\\"},
    {"RunCutToOne", L"C:\\Temp\\\\\\", L"C:\\Temp\\"},
    {"TwoBackslashesStay", L"\\\\", L"\\\\"},
    {"OneBackslash", L"\\", L"\\"},
    {"ThreeBackslashes", L"\\\\\\", L"\\"},
};
INSTANTIATE_TEST_SUITE_P(Paths, TrailingBackslashTest, ::testing::ValuesIn(kTrailing),
                         [](const auto& info) { return std::string(info.param.name); });

class MakeValidPathTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(MakeValidPathTest, Table)
{
    EXPECT_STREQ(MakeValidPath(GetParam().input).c_str(), GetParam().expected);
}
const PathCase kValid[] = {
    {"ForbiddenCharacters", L"c:temp/a*b.txt", L"c:\\temp_a_b.txt"},
    {"BlanksAndDotsAroundBackslashes", L"  C:\\dir \\ sub.\\file.txt ", L"C:\\dir\\sub\\file.txt"},
    {"ParentComponentShrinks", L"C:\\a\\..\\b", L"C:\\a\\b"},
    {"RunsOfBackslashes", L"C:\\\\a\\\\\\b", L"C:\\a\\b"},
    {"NetworkPairKept", L"\\\\server\\\\share\\x", L"\\\\server\\share\\x"},
    {"ControlCharacters", L"C:\\a\tb\x01.txt", L"C:\\a b .txt"},
    {"DriveAlone", L"D:", L"D:\\"},
    {"LongPrefixKept", L"\\\\?\\C:\\x|y", L"\\\\?\\C:\\x_y"},
    {"ColonLaterReplaced", L"C:\\a:b", L"C:\\a_b"},
};
INSTANTIATE_TEST_SUITE_P(Paths, MakeValidPathTest, ::testing::ValuesIn(kValid),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MakeValidPathLongTest, OnlyTheTitleIsShortened)
{
    OvString folder(L"C:\\");
    while (folder.Length() < 200) folder += L"folder\\";
    OvString title;
    while (title.Length() < 100) title += L"t";
    OvString valid = MakeValidPath(folder + title + L".mp3");
    EXPECT_EQ(valid.Length(), 252);
    EXPECT_TRUE(valid.StartsWith(folder));
    EXPECT_TRUE(valid.EndsWith(L"t.mp3"));
    // A title that would shrink to a single character stays whole.
    OvString deep(L"C:\\");
    while (deep.Length() < 260) deep += L"f\\";
    EXPECT_STREQ(MakeValidPath(deep + L"ab.txt").c_str(), (deep + L"ab.txt").c_str());
}

TEST(FormatSizeTest, ScalesToTheLargestUnitReached)
{
    const wchar_t separator[] = {GetDecimalSeparator(), 0};
    const OvString point(separator);
    EXPECT_STREQ(FormatSize(0).c_str(), L"0 bytes");
    EXPECT_STREQ(FormatSize(1023).c_str(), L"1023 bytes");
    EXPECT_STREQ(FormatSize(1024).c_str(), (L"1" + point + L"0 KB").c_str());
    EXPECT_STREQ(FormatSize(1536).c_str(), (L"1" + point + L"5 KB").c_str());
    EXPECT_STREQ(FormatSize(150ll << 20).c_str(), L"150 MB");
    EXPECT_STREQ(FormatSize(-2048).c_str(), (L"-2" + point + L"0 KB").c_str());
    EXPECT_STREQ(FormatSize(3ll << 50).c_str(), (L"3" + point + L"0 PB").c_str());
    EXPECT_STREQ(FormatSize(INT64_MIN).c_str(), L"-8192 PB");
}

struct AbsoluteCase {
    const char* name;
    const wchar_t* base;
    const wchar_t* relative;
    bool changed;
    const wchar_t* expected;
};

void PrintTo(const AbsoluteCase& c, std::ostream* os) { *os << c.name; }

class MakeAbsolutePathTest : public ::testing::TestWithParam<AbsoluteCase> {};
TEST_P(MakeAbsolutePathTest, Table)
{
    const AbsoluteCase& c = GetParam();
    OvString relative(c.relative);
    EXPECT_EQ(MakeAbsolutePath(c.base, relative), c.changed);
    EXPECT_STREQ(relative.c_str(), c.expected);
}
const AbsoluteCase kAbsolute[] = {
    {"BesideAFile", L"C:\\Music\\list.m3u", L"Rock\\song.mp3", true, L"C:\\Music\\Rock\\song.mp3"},
    {"InAFolder", L"C:\\Music\\", L"song.mp3", true, L"C:\\Music\\song.mp3"},
    {"FolderWithoutBackslash", L"C:\\Music", L"song.mp3", true, L"C:\\Music\\song.mp3"},
    {"ParentSteps", L"C:\\a\\b\\c\\", L"..\\..\\x.txt", true, L"C:\\a\\x.txt"},
    {"ParentStepsStopAtTheRoot", L"C:\\a\\", L"..\\..\\..\\x.txt", true, L"C:\\x.txt"},
    {"FromTheRoot", L"C:\\a\\b\\", L"\\x\\y", true, L"C:\\x\\y"},
    {"ShareRoot", L"\\\\server\\share\\dir\\", L"..\\..\\f", true, L"\\\\server\\share\\f"},
    {"AlreadyAbsolute", L"C:\\a\\", L"D:\\b", false, L"D:\\b"},
    {"AlreadyNetwork", L"C:\\a\\", L"\\\\s\\x", false, L"\\\\s\\x"},
    {"UrlBase", L"http://host/a/", L"b", false, L"b"},
    {"EmptyBase", L"", L"b", false, L"b"},
};
INSTANTIATE_TEST_SUITE_P(Paths, MakeAbsolutePathTest, ::testing::ValuesIn(kAbsolute),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IsAbsoluteLocalPathTest, DrivesAndShares)
{
    EXPECT_TRUE(IsAbsoluteLocalPath(L"C:\\"));
    EXPECT_TRUE(IsAbsoluteLocalPath(L"\\\\?\\C:\\long"));
    EXPECT_TRUE(IsAbsoluteLocalPath(L"\\\\server\\share"));
    EXPECT_FALSE(IsAbsoluteLocalPath(L"C:relative"));
    EXPECT_FALSE(IsAbsoluteLocalPath(L"\\\\\\x"));
    EXPECT_FALSE(IsAbsoluteLocalPath(L"folder\\file"));
    EXPECT_FALSE(IsAbsoluteLocalPath(L""));
}

// The tools library loaded (its folder tests), files in the fixture's folder.
class FileSystemTest : public ToolsFolderTest {
protected:
    void SetUp() override
    {
        ToolsFolderTest::SetUp();
        root_ = folder_ + L"files\\";
        ASSERT_TRUE(CreateDirectoryW(root_, nullptr));
        ASSERT_TRUE(LoadToolsModule(folder_));
    }
    static void Write(const OvString& path, const char* text) { WriteText(path, text); }
    static std::string Read(const OvString& path) { return ReadText(path); }
    int CountFiles()
    {
        int count = 0;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(root_ + L"*.txt", &found);
        if (search == INVALID_HANDLE_VALUE) return 0;
        do ++count;
        while (FindNextFileW(search, &found));
        FindClose(search);
        return count;
    }
    OvString root_;
};

TEST_F(FileSystemTest, MakeUnusedNameCounts)
{
    EXPECT_STREQ(MakeUnusedName(root_ + L"report.txt").c_str(), (root_ + L"report.txt").c_str());
    Write(root_ + L"report.txt", "a");
    EXPECT_STREQ(MakeUnusedName(root_ + L"report.txt").c_str(), (root_ + L"report (1).txt").c_str());
    Write(root_ + L"report (1).txt", "a");
    EXPECT_STREQ(MakeUnusedName(root_ + L"report.txt").c_str(), (root_ + L"report (2).txt").c_str());
    Write(root_ + L"report(3).txt", "a");
    EXPECT_STREQ(MakeUnusedName(root_ + L"report(3).txt").c_str(), (root_ + L"report(4).txt").c_str());
    Write(root_ + L"take(05).txt", "a");
    EXPECT_STREQ(MakeUnusedName(root_ + L"take(05).txt").c_str(), (root_ + L"take(05) (1).txt").c_str());
    Write(root_ + L"big(99999).txt", "a");
    EXPECT_STREQ(MakeUnusedName(root_ + L"big(99999).txt").c_str(), (root_ + L"big(99999) (1).txt").c_str());
    // The extension is the file's, not the folder's.
    ASSERT_TRUE(CreateDirectoryW(root_ + L"v1.2", nullptr));
    Write(root_ + L"v1.2\\notes", "a");
    EXPECT_STREQ(MakeUnusedName(root_ + L"v1.2\\notes").c_str(), (root_ + L"v1.2\\notes (1)").c_str());
}

TEST_F(FileSystemTest, SafeReplaceFilePutsTheReplacementInPlace)
{
    Write(root_ + L"target.txt", "old");
    Write(root_ + L"new.txt", "new");
    SetFileAttributesW(root_ + L"target.txt", FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(SafeReplaceFile(root_ + L"target.txt", root_ + L"new.txt"));
    EXPECT_EQ(Read(root_ + L"target.txt"), "new");
    EXPECT_EQ(CountFiles(), 1) << "the saved original and the replacement are gone";

    Write(root_ + L"fresh.txt", "fresh");
    EXPECT_TRUE(SafeReplaceFile(root_ + L"absent.txt", root_ + L"fresh.txt"));
    EXPECT_EQ(Read(root_ + L"absent.txt"), "fresh");
}

TEST_F(FileSystemTest, SafeReplaceFileFailuresLoseNothing)
{
    Write(root_ + L"target.txt", "original");
    // Missing replacement: the target is untouched.
    EXPECT_FALSE(SafeReplaceFile(root_ + L"target.txt", root_ + L"missing.txt"));
    EXPECT_EQ(Read(root_ + L"target.txt"), "original");

    // The replacement cannot be moved (held open): the original is back under its name.
    Write(root_ + L"busy.txt", "replacement");
    HANDLE busy = CreateFileW(root_ + L"busy.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SafeReplaceFile(root_ + L"target.txt", root_ + L"busy.txt"));
    CloseHandle(busy);
    EXPECT_EQ(Read(root_ + L"target.txt"), "original");
    EXPECT_EQ(Read(root_ + L"target (1).txt"), "<missing>");
}

TEST_F(FileSystemTest, CreateDirectoryPathBuildsTheMissingFolders)
{
    const OvString deep = root_ + L"a\\b\\c\\";
    EXPECT_TRUE(CreateDirectoryPath(deep, true));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(CreateDirectoryPath(deep, false)) << "an existing folder";

    // Beyond 260 characters.
    OvString longFolder = root_;
    while (longFolder.Length() < 300) longFolder += L"long folder name\\";
    EXPECT_TRUE(CreateDirectoryPath(longFolder, true));
    EXPECT_TRUE(DirectoryExists(longFolder));
    Write(longFolder + L"file.txt", "x");
    EXPECT_TRUE(FileExists(longFolder + L"file.txt"));
    EXPECT_EQ(GetLocalFileSize(longFolder + L"file.txt"), 1);
    EXPECT_TRUE(OvDeleteFile(longFolder + L"file.txt"));
}

TEST_F(FileSystemTest, CreateDirectoryPathRefusals)
{
    Write(root_ + L"file.txt", "x");
    EXPECT_FALSE(CreateDirectoryPath(root_ + L"file.txt\\sub\\", false)) << "below a file";
    EXPECT_FALSE(CreateDirectoryPath(L"Q:\\no drive\\", false)) << "unreachable drive";
    EXPECT_FALSE(CreateDirectoryPath(L"", false));
    EXPECT_TRUE(CreateDirectoryPath(L"relative\\folder", false)) << "not created, no write test";
    EXPECT_FALSE(CreateDirectoryPath(L"relative\\folder", true));
    EXPECT_FALSE(DirectoryExists(L"relative"));
    UnloadProductLibraries(true);
    EXPECT_FALSE(CreateDirectoryPath(root_ + L"x\\", false)) << "no tools library";
    EXPECT_FALSE(DirectoryExists(root_ + L"x\\"));
    EXPECT_FALSE(FolderExists(root_)) << "folder test needs the tools library";
}

TEST_F(FileSystemTest, WritableFoldersAndFreeSpace)
{
    EXPECT_TRUE(IsDirectoryWritable(root_));
    EXPECT_FALSE(IsDirectoryWritable(root_ + L"missing\\"));
    int64_t free = 0, total = 0, totalFree = 0;
    EXPECT_TRUE(GetFreeDiskSpace(L"C", &free, &total, &totalFree));
    EXPECT_GT(total, 0);
    EXPECT_TRUE(GetFreeDiskSpace(root_ + L"not\\yet\\made\\", &free, &total, &totalFree));
    EXPECT_FALSE(GetFreeDiskSpace(L"", &free, &total, &totalFree));
    EXPECT_FALSE(GetFreeDiskSpace(L"Q:\\x", &free, &total, &totalFree));
}

}  // namespace
