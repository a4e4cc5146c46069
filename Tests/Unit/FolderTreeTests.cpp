// Locations, folder enumeration, deletion with keep lists, emptiness, copying and moving trees,
// on the real file system of the test prefix.

#include "DirectoryEnumerator.h"
#include "OvFileLocation.h"
#include "OvMoveCopyDirectory.h"
#include "OvSharedMemory.h"
#include "ToolsFolder.h"

#include <set>

namespace {

struct LocationCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* normalized;
    const wchar_t* folder;
    const wchar_t* fileName;
    const wchar_t* extension;
};

void PrintTo(const LocationCase& c, std::ostream* os) { *os << c.name; }

class LocationTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(LocationTest, NormalizesAndSplits)
{
    const LocationCase& c = GetParam();
    OvFileLocation location(c.text);
    EXPECT_STREQ(location.Normalized().c_str(), c.normalized);
    EXPECT_STREQ(location.GetFolder().c_str(), c.folder);
    EXPECT_STREQ(location.GetFileName().c_str(), c.fileName);
    EXPECT_STREQ(location.GetExtension().c_str(), c.extension);
}

const LocationCase kLocations[] = {
    {"FileUrl", L"file:///C:/My%20Music/a%C3%A9.mp3", L"C:\\My Music\\a\u00e9.mp3", L"file:///C:/My%20Music/",
     L"a%C3%A9.mp3", L"mp3"},
    {"FileUrlLocalhost", L"FILE://localhost/C:/x/y.txt", L"C:\\x\\y.txt", L"FILE://localhost/C:/x/", L"y.txt", L"txt"},
    {"ForwardSlashes", L"C:/a/b.wav", L"C:\\a\\b.wav", L"C:/a/", L"b.wav", L"wav"},
    {"HttpKept", L"http://host/dir/file.mp3?x=1/2", L"http://host/dir/file.mp3?x=1/2", L"http://host/dir/",
     L"file.mp3", L"mp3"},
    {"HostOnly", L"http://host", L"http://host", L"", L"", L""},
    {"DotInFolderOnly", L"C:\\a.b\\readme", L"C:\\a.b\\readme", L"C:\\a.b\\", L"readme", L""},
    {"TrailingProperty", L"C:\\a\\song.mp3;42", L"C:\\a\\song.mp3", L"C:\\a\\", L"song.mp3", L"mp3"},
    {"SemicolonInFolder", L"C:\\a;b\\file", L"C:\\a;b\\file", L"C:\\a;b\\", L"file", L""},
};
INSTANTIATE_TEST_SUITE_P(Locations, LocationTest, ::testing::ValuesIn(kLocations),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LocationUnpackTest, PropertiesFromTheText)
{
    OvFileLocation trailing(L"C:\\a\\song.mp3;42");
    EXPECT_STREQ(trailing.Properties().GetString(L"PostExtensionData").c_str(), L"42");
    OvFileLocation tagged(L"<XMLFN version=\"1.0\">\r\n<Item Name=\"Filename\">C:\\x\\y.ogg</Item>\r\n"
                          L"<Item Name=\"Start\">12</Item>\r\n</XMLFN>");
    EXPECT_STREQ(tagged.GetPath().c_str(), L"C:\\x\\y.ogg");
    EXPECT_STREQ(tagged.Properties().GetString(L"Start").c_str(), L"12");
    EXPECT_FALSE(tagged.Properties().Exists(L"Filename"));
}

TEST(LocationLongPathTest, PrefixAbove260)
{
    OvString path(L"C:\\");
    while (path.Length() <= 260) path += L"folder\\";
    path += L"file.txt";
    EXPECT_STREQ(OvFileLocation(path).Normalized().c_str(), (L"\\\\?\\" + path).c_str());
    OvString shortPath(L"C:\\short\\file.txt");
    EXPECT_STREQ(OvFileLocation(shortPath).Normalized().c_str(), shortPath.c_str());
}

class FolderTreeTest : public ToolsFolderTest {
protected:
    void SetUp() override
    {
        ToolsFolderTest::SetUp();
        ASSERT_TRUE(LoadToolsModule(folder_));
        root_ = folder_ + L"tree\\";
        ASSERT_TRUE(CreateDirectoryPath(root_, false));
    }
    void Make(const wchar_t* relative, const char* content = "x")
    {
        OvString path = root_ + relative;
        if (path.EndsWith(L"\\")) {
            ASSERT_TRUE(CreateDirectoryPath(path, false));
            return;
        }
        ASSERT_TRUE(CreateDirectoryPath(GetFolderOfPath(path), false));
        WriteText(path, content);
    }
    bool Exists(const wchar_t* relative)
    {
        OvString path = root_ + relative;
        return path.EndsWith(L"\\") ? DirectoryExists(path) : FileExists(path);
    }
    OvString root_;
};

TEST_F(FolderTreeTest, EnumeratorListsEntriesOnce)
{
    Make(L"a.txt");
    Make(L"sub\\");
    std::set<std::wstring> seen;
    DirectoryEnumerator entries;
    for (bool more = entries.Start(root_); more; more = entries.Next())
        EXPECT_TRUE(seen.insert(entries.Current().GetPath().c_str()).second);
    EXPECT_EQ(seen, (std::set<std::wstring>{(root_ + L"a.txt").c_str(), (root_ + L"sub\\").c_str()}));
    EXPECT_FALSE(entries.IsValid());
    EXPECT_FALSE(entries.Start(root_ + L"missing\\"));
    UnloadProductLibraries(true);
    EXPECT_FALSE(entries.Start(root_)) << "the folder test needs the tools library";
}

TEST_F(FolderTreeTest, DeleteDirectoryKeepsWhatItIsTold)
{
    Make(L"a.txt");
    Make(L"keep.MP3");
    Make(L"sub\\b.txt");
    Make(L"sub\\Settings.INI");
    Make(L"sub\\deeper\\c.txt");
    Make(L"empty\\");
    Make(L"readonly.dat");
    SetFileAttributesW(root_ + L"readonly.dat", FILE_ATTRIBUTE_READONLY);
    // Neighbours that share the folder's name as a prefix are not its content.
    WriteText(folder_ + L"tree.txt", "beside");
    ASSERT_TRUE(CreateDirectoryPath(folder_ + L"tree2\\", false));
    WriteText(folder_ + L"tree2\\other.txt", "beside");

    const OvStringArray keepExtensions{L"mp3"};
    const OvStringArray keepNames{L"settings.ini"};
    EXPECT_TRUE(DeleteDirectory(root_, &keepExtensions, &keepNames));

    EXPECT_FALSE(Exists(L"a.txt"));
    EXPECT_FALSE(Exists(L"readonly.dat"));
    EXPECT_TRUE(Exists(L"keep.MP3"));
    EXPECT_FALSE(Exists(L"sub\\b.txt"));
    EXPECT_TRUE(Exists(L"sub\\Settings.INI"));
    EXPECT_FALSE(Exists(L"sub\\deeper\\"));
    EXPECT_FALSE(Exists(L"empty\\"));
    EXPECT_TRUE(DirectoryExists(root_));
    EXPECT_TRUE(FileExists(folder_ + L"tree.txt"));
    EXPECT_TRUE(FileExists(folder_ + L"tree2\\other.txt"));

    EXPECT_TRUE(DeleteDirectory(root_, nullptr, nullptr));
    EXPECT_FALSE(DirectoryExists(root_));
    EXPECT_FALSE(DeleteDirectory(L"", nullptr, nullptr));
}

TEST_F(FolderTreeTest, EmptinessIgnoresThumbsDb)
{
    Make(L"Thumbs.db");
    Make(L"sub\\");
    EXPECT_TRUE(IsDirectoryEmpty(root_, true, true));
    EXPECT_FALSE(IsDirectoryEmpty(root_, false, true));
    EXPECT_TRUE(IsDirectoryEmpty(root_, false, false));
    Make(L"sub\\file.txt");
    EXPECT_FALSE(IsDirectoryEmpty(root_, true, false));
}

TEST_F(FolderTreeTest, RemoveEmptyParentsStopsAtContent)
{
    Make(L"kept.txt");
    Make(L"a\\b\\c\\");
    RemoveEmptyParents(root_ + L"a\\b\\c\\");
    EXPECT_FALSE(Exists(L"a\\"));
    EXPECT_TRUE(Exists(L"kept.txt"));
    EXPECT_TRUE(DirectoryExists(root_));
}

TEST_F(FolderTreeTest, CopyAndMoveTrees)
{
    Make(L"src\\one.txt", "1");
    Make(L"src\\sub\\two.txt", "2");
    Make(L"src\\sub\\empty\\");
    Make(L"target\\one.txt", "old");

    OvMoveCopyDirectory copy;
    copy.Add(root_ + L"src", root_ + L"target", true);
    EXPECT_EQ(copy.FileCount(), 2);
    EXPECT_TRUE(copy.Run(false));
    EXPECT_FALSE(copy.Run(false)) << "a job runs once";
    EXPECT_EQ(ReadText(root_ + L"target\\one.txt"), "1");
    EXPECT_EQ(ReadText(root_ + L"target\\sub\\two.txt"), "2");
    EXPECT_TRUE(Exists(L"target\\sub\\empty\\"));
    EXPECT_TRUE(Exists(L"src\\one.txt"));

    OvMoveCopyDirectory move;
    move.Add(root_ + L"src", root_ + L"moved", true);
    EXPECT_TRUE(move.Run(true));
    EXPECT_EQ(ReadText(root_ + L"moved\\sub\\two.txt"), "2");
    EXPECT_FALSE(Exists(L"src\\"));
    EXPECT_TRUE(DirectoryExists(root_)) << "the folder above the source stays";

    // Without subfolders only the top files go.
    Make(L"flat\\f.txt");
    Make(L"flat\\inner\\g.txt");
    OvMoveCopyDirectory flat;
    flat.Add(root_ + L"flat", root_ + L"flatcopy", false);
    EXPECT_TRUE(flat.Run(true));
    EXPECT_TRUE(Exists(L"flatcopy\\f.txt"));
    EXPECT_FALSE(Exists(L"flatcopy\\inner\\"));
    EXPECT_TRUE(Exists(L"flat\\inner\\g.txt"));
}

TEST_F(FolderTreeTest, CopyReportsAFailedFile)
{
    Make(L"src\\one.txt", "1");
    Make(L"target\\");
    WriteText(root_ + L"target\\one.txt", "locked");
    HANDLE busy = CreateFileW(root_ + L"target\\one.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    OvMoveCopyDirectory move;
    move.Add(root_ + L"src", root_ + L"target", true);
    EXPECT_FALSE(move.Run(true));
    CloseHandle(busy);
    EXPECT_EQ(ReadText(root_ + L"src\\one.txt"), "1") << "a file that was not copied is not deleted";
}

}  // namespace

namespace {

TEST_F(FolderTreeTest, FileExistsWithAndWithoutTheToolsLibrary)
{
    Make(L"song.mp3");
    const OvFileLocation location(OvString(L"file:///") + root_ + L"song.mp3");
    EXPECT_TRUE(FileExists(location, true));
    EXPECT_FALSE(FileExists(OvFileLocation(root_ + L"other.mp3"), true));
    EXPECT_FALSE(FileExists(OvFileLocation(root_), true)) << "a folder is no file";
    EXPECT_EQ(GetFileSize(OvFileLocation(root_ + L"song.mp3"), false), 1);
    EXPECT_EQ(GetFileSize(OvFileLocation(L"http://host/song.mp3"), false), -1);
    UnloadProductLibraries(true);
    EXPECT_TRUE(FileExists(location, true)) << "falls back to the system's test";
    EXPECT_FALSE(FileExists(OvFileLocation(L""), false));
}

TEST(SharedMemoryTest, NamedBlockSharedWithinAndReopened)
{
    const OvString name = OvFormat(L"Ov Test Block %d", static_cast<int64_t>(GetCurrentProcessId()));
    OvSharedMemory first;
    ASSERT_TRUE(first.Open(name, 64));
    EXPECT_FALSE(first.Existed());
    static_cast<char*>(first.Data())[10] = 42;
    OvSharedMemory second;
    ASSERT_TRUE(second.Open(name, 64));
    EXPECT_TRUE(second.Existed());
    EXPECT_EQ(static_cast<char*>(second.Data())[10], 42);
    second.Close();
    EXPECT_FALSE(second.IsOpen());
    EXPECT_FALSE(second.Open(L"", 64));
    EXPECT_FALSE(second.Open(name, 0));
    EXPECT_FALSE(second.IsOpen());
}

}  // namespace
