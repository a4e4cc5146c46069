// Loading and unloading the product's run-time libraries, observed through the stand-in
// libraries' own record of the calls they receive.

#include "BuildPaths.h"
#include "OvProductLibraries.h"
#include "OvProductPaths.h"
#include "StandInRecord.h"
#include "ToolsFolder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using Record = std::vector<std::wstring>;

OvString BuiltImage() { return BuildFile(OV_IMAGE_DLL_PATH); }
OvString BuiltReader() { return BuildFile(OV_READER_DLL_PATH); }

// The test's folder holds the tools library; the image and reader libraries are copied in as
// needed.
class ProductLibraries : public ToolsFolderTest {
protected:
    void SetUp() override
    {
        ToolsFolderTest::SetUp();
        GetCurrentDirectoryW(MAX_PATH, directory_);
        StandInRecordStart();
    }
    void TearDown() override
    {
        SetCurrentDirectoryW(directory_);
        ToolsFolderTest::TearDown();
        StandInRecordStop();
    }
    // Copies source into the test's folder, or into a subfolder of it (made when missing).
    bool Copy(const OvString& source, const wchar_t* fileName, const wchar_t* subfolder = L"")
    {
        OvString folder = folder_;
        if (*subfolder) {
            folder = folder + subfolder + L"\\";
            for (int slash = folder_.Length() - 1; (slash = folder.Find(L'\\', slash + 1)) >= 0;)
                CreateDirectoryW(folder.Left(slash), nullptr);
        }
        return CopyFileW(source, folder + fileName, FALSE) != FALSE;
    }
    // The record since the last StartRecord (or the start of the test).
    static Record Calls()
    {
        Record calls;
        const std::wstring text = StandInRecordRead();
        size_t start = 0;
        for (size_t bar = text.find(L'|'); bar != std::wstring::npos; bar = text.find(L'|', start)) {
            if (bar > start) calls.push_back(text.substr(start, bar - start));
            start = bar + 1;
        }
        return calls;
    }
    static void StartRecord() { StandInRecordStart(); }
    static bool Contains(const Record& calls, const wchar_t* call)
    {
        for (const std::wstring& c : calls)
            if (c == call) return true;
        return false;
    }
    wchar_t directory_[MAX_PATH + 1] = {};
};

TEST_F(ProductLibraries, EachLibraryIsLoadedOnceThroughItsEntryProtocol)
{
    ASSERT_TRUE(Copy(BuiltImage(), L"OvImage.dll"));
    ASSERT_TRUE(Copy(BuiltReader(), L"OvReader.dll"));
    SetLibrariesFolder(folder_);

    EXPECT_TRUE(LoadToolsModule(L""));
    EXPECT_TRUE(LoadImageLibrary(L""));
    EXPECT_TRUE(LoadReaderLibrary(L""));
    const Record loaded = {L"OvTools.dll:attach",      L"OvTools.dll:GetOvToolsDLL",
                           L"OvTools.dll:Initialize(0)", L"OvImage.dll:attach",
                           L"OvImage.dll:GetOvImageAppDLL", L"OvImage.dll:Initialize(0)",
                           L"OvReader.dll:attach",     L"OvReader.dll:OvReaderInitialize(0)"};
    EXPECT_EQ(Calls(), loaded);

    // Loaded already: no second load, no second initialisation.
    EXPECT_TRUE(LoadToolsModule(L""));
    EXPECT_TRUE(LoadImageLibrary(folder_));
    bool flag = false;
    EXPECT_TRUE(LoadProductLibrary(L"elsewhere\\OvReader.dll", kOvReaderLibrary, &flag));
    EXPECT_TRUE(flag);
    // The stand-ins hand out no drawing services and have no reader entries yet.
    EXPECT_EQ(CreateImagePicture(), nullptr);
    EXPECT_EQ(GetImageFonts(), nullptr);
    EXPECT_EQ(GetImageTextDrawing(), nullptr);
    EXPECT_EQ(CreateInternetReader(L"http://example.invalid/"), nullptr);
    EXPECT_EQ(CreateGenericReader(L"C:\\file.txt"), nullptr);
    EXPECT_EQ(Calls(), loaded);
}

TEST_F(ProductLibraries, UnloadingFollowsTheFixedOrderAndTwiceIsHarmless)
{
    ASSERT_TRUE(Copy(BuiltImage(), L"OvImage.dll"));
    ASSERT_TRUE(Copy(BuiltReader(), L"OvReader.dll"));
    SetLibrariesFolder(folder_);
    ASSERT_TRUE(LoadReaderLibrary(L""));
    ASSERT_TRUE(LoadToolsModule(L""));
    ASSERT_TRUE(LoadImageLibrary(L""));
    // The other slots hold copies of the reader library under their names.
    for (int index : {kOvTelevisionLibrary, kOvDiscLibrary, kOvWMFactoryLibrary, kOvPlayerLibrary}) {
        const OvString name = GetProductLibraryName(index);
        ASSERT_TRUE(Copy(BuiltReader(), name));
        bool loaded = false;
        ASSERT_TRUE(LoadProductLibrary(folder_ + name, index, &loaded)) << name.c_str();
    }
    StartRecord();

    UnloadProductLibraries(true);
    const Record unloaded = {L"OvTools.dll:Release",
                             L"OvDisc.dll:detach",
                             L"OvPlayer.dll:detach",
                             L"OvTelevision.dll:detach",
                             L"OvWMFactory.dll:detach",
                             L"OvImage.dll:Uninitialize(0)",
                             L"OvImage.dll:detach",
                             L"OvReader.dll:OvReaderUninitialize(0)",
                             L"OvReader.dll:detach",
                             L"OvTools.dll:Uninitialize(0)",
                             L"OvTools.dll:detach"};
    EXPECT_EQ(Calls(), unloaded);
    EXPECT_EQ(GetToolsInterface(false), nullptr);

    UnloadProductLibraries(true);
    EXPECT_EQ(Calls(), unloaded);
}

struct PathCase {
    const char* name;
    const wchar_t* libraries;   // subfolder of the test folder, null for no libraries folder
    const wchar_t* prefix;      // put before the test folder in the path, null for no test folder
    const wchar_t* path;
    const wchar_t* loadedFrom;  // subfolder of the copy that must be loaded
};

// Shown by name in the test list.
void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }

class LibraryPaths : public ProductLibraries, public ::testing::WithParamInterface<PathCase> {};

TEST_P(LibraryPaths, ChooseTheFolder)
{
    const PathCase& c = GetParam();
    for (const wchar_t* subfolder : {L"full", L"libs", L"libs\\sub", L"current"})
        ASSERT_TRUE(Copy(BuiltReader(), L"OvReader.dll", subfolder)) << subfolder;
    SetLibrariesFolder(c.libraries ? folder_ + c.libraries : OvString());
    ASSERT_TRUE(SetCurrentDirectoryW(folder_ + L"current"));

    OvString path = c.prefix ? OvString(c.prefix) + folder_ + c.path : OvString(c.path);
    bool loaded = false;
    ASSERT_TRUE(LoadProductLibrary(path, kOvReaderLibrary, &loaded)) << path.c_str();
    EXPECT_TRUE(loaded);
    wchar_t modulePath[MAX_PATH + 1] = {};
    GetModuleFileNameW(GetModuleHandleW(L"OvReader.dll"), modulePath, MAX_PATH);
    OvString actual(modulePath);
    if (actual.StartsWith(L"\\\\?\\")) actual = actual.Mid(4);
    EXPECT_TRUE(actual.EqualsNoCase(folder_ + c.loadedFrom + L"\\OvReader.dll")) << actual.c_str();
    EXPECT_TRUE(Contains(Calls(), L"OvReader.dll:OvReaderInitialize(0)"));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LibraryPaths,
    ::testing::Values(PathCase{"FullPath", L"libs", L"", L"full\\OvReader.dll", L"full"},
                      PathCase{"TwoBackslashes", L"libs", L"\\\\?\\", L"full\\OvReader.dll", L"full"},
                      PathCase{"RelativeToTheLibrariesFolder", L"libs", nullptr, L"sub\\OvReader.dll", L"libs\\sub"},
                      PathCase{"NameInTheLibrariesFolder", L"libs", nullptr, L"OvReader.dll", L"libs"},
                      PathCase{"NameByTheDefaultSearch", nullptr, nullptr, L"OvReader.dll", L"current"}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return info.param.name; });

TEST_F(ProductLibraries, FailedLoadsLeaveTheSlotEmptyAndAreTriedAgain)
{
    // No library in the libraries folder.
    SetLibrariesFolder(folder_ + L"libs");
    bool loaded = false;
    EXPECT_FALSE(LoadProductLibrary(L"OvReader.dll", kOvReaderLibrary, &loaded));
    EXPECT_FALSE(loaded);
    EXPECT_EQ(CreateGenericReader(L"C:\\file.txt"), nullptr);
    EXPECT_TRUE(Calls().empty());

    // A library without the image library's entry: loaded, found wanting, freed again.
    ASSERT_TRUE(Copy(BuiltReader(), L"OvImage.dll", L"libs"));
    EXPECT_FALSE(LoadImageLibrary(L""));
    EXPECT_EQ(GetImageFonts(), nullptr);
    EXPECT_EQ(Calls(), (Record{L"OvImage.dll:attach", L"OvImage.dll:detach", L"OvImage.dll:attach",
                               L"OvImage.dll:detach"}));
    EXPECT_EQ(GetModuleHandleW(L"OvImage.dll"), nullptr);

    // Once the library is there, the next request loads it.
    ASSERT_TRUE(Copy(BuiltReader(), L"OvReader.dll", L"libs"));
    EXPECT_EQ(CreateInternetReader(L"http://example.invalid/"), nullptr);   // no reader entry
    EXPECT_TRUE(Contains(Calls(), L"OvReader.dll:OvReaderInitialize(0)"));
    EXPECT_TRUE(LoadReaderLibrary(L""));
}

struct ProductLibraryPathCase {
    const char* name;
    const wchar_t* path;
    bool expected;
};

// Shown by name in the test list.
void PrintTo(const ProductLibraryPathCase& c, std::ostream* out) { *out << c.name; }

class ProductLibraryPaths : public ProductLibraries, public ::testing::WithParamInterface<ProductLibraryPathCase> {};

TEST_P(ProductLibraryPaths, AreRecognisedIgnoringCase)
{
    // Without the tools library, and with its text search.
    EXPECT_EQ(IsProductLibrary(GetParam().path), GetParam().expected);
    ASSERT_EQ(GetToolsInterface(false), nullptr);
    SetLibrariesFolder(folder_);
    ASSERT_TRUE(LoadToolsModule(L""));
    EXPECT_EQ(IsProductLibrary(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProductLibraryPaths,
    ::testing::Values(ProductLibraryPathCase{"ReaderInOtherCase", L"C:\\Kestrel Deck\\ovREADER.DLL", true},
                      ProductLibraryPathCase{"ToolsLibrary", L"D:\\x\\OvTools.dll", true},
                      ProductLibraryPathCase{"NameInsideALongerName", L"C:\\old\\OvTelevision.dll.bak", true},
                      ProductLibraryPathCase{"OtherLibrary", L"C:\\Kestrel Deck\\OvReaderX.dll", false},
                      ProductLibraryPathCase{"Empty", L"", false}),
    [](const ::testing::TestParamInfo<ProductLibraryPathCase>& info) { return info.param.name; });

TEST_F(ProductLibraries, TranslateTextLeavesTheEmptyTextAlone)
{
    EXPECT_TRUE(TranslateText(L"").IsEmpty());
    EXPECT_EQ(GetToolsInterface(false), nullptr);   // not even loaded for it

    SetLibrariesFolder(folder_);
    ASSERT_TRUE(LoadToolsModule(L""));
    StartRecord();
    EXPECT_TRUE(TranslateText(L"").IsEmpty());
    EXPECT_TRUE(TranslateText(nullptr).IsEmpty());
    EXPECT_TRUE(Calls().empty());
    EXPECT_STREQ(TranslateText(L"Next").c_str(), L"Next");
    EXPECT_EQ(Calls(), Record{L"OvTools.dll:Translate"});
}

// The product description names a generic folder inside the test's folder.
class SettingsImport : public ToolsFolderTest {
protected:
    std::string ExtraDescription() override { return "ProductFolder=" + Narrow(folder_) + "Generic\n"; }
    void SetUp() override
    {
        ToolsFolderTest::SetUp();
        if (HasFatalFailure()) return;
        SetLibrariesFolder(folder_);
        source_ = folder_ + L"Library Settings\\";
        ASSERT_TRUE(CreateDirectoryW(source_, nullptr));
        WriteText(source_ + L"TV Shared Settings.ini", "[Shared]\nValue=1\n");
    }
    static int Setting(const wchar_t* section, const wchar_t* name)
    {
        IOvSettingsSection* settings = GetSettingsSection(section);
        return settings ? settings->GetInt(name, -1) : -2;
    }
    OvString source_;
};

TEST_F(SettingsImport, GoesThroughTheToolsLibraryAndCopiesTheSharedSettings)
{
    WriteText(source_ + L"Settings.ini", "[Installer]\nCount=5\n[Properties]\nRuns=12\n");
    ASSERT_TRUE(LoadProductInformation(false, false));
    EXPECT_TRUE(ImportSettings(source_));
    EXPECT_EQ(Setting(L"Installer", L"Count"), 5);
    EXPECT_EQ(Setting(L"Properties", L"Runs"), 12);
    EXPECT_EQ(Setting(L"Shared", L"Value"), -1);   // the shared file is only copied
    EXPECT_EQ(ReadText(folder_ + L"Generic\\Settings\\TV Shared Settings.ini"), "[Shared]\nValue=1\n");
}

TEST_F(SettingsImport, SharedSettingsAreCopiedWhenTheImportFails)
{
    WriteText(source_ + L"Settings.ini", "[Installer\n");
    ASSERT_TRUE(LoadProductInformation(false, false));
    EXPECT_FALSE(ImportSettings(source_));
    EXPECT_EQ(ReadText(folder_ + L"Generic\\Settings\\TV Shared Settings.ini"), "[Shared]\nValue=1\n");
}

}  // namespace
