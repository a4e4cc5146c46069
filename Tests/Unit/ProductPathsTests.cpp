#include "ToolsFolder.h"
#include "OvFileSystem.h"
#include "OvProcessInfo.h"
#include "OvProductPaths.h"
#include "OvStringFormat.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

namespace {

// Replaces the recorded installations for the life of the object and restores nothing:
// every test prefix starts without them.
class Installations {
public:
    Installations() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kInstallationsKey); }
    ~Installations() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kInstallationsKey); }
    void Add(const wchar_t* name, const wchar_t* path)
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, OvString(kInstallationsKey) + L"\\" + name, 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        OvString text(path);
        RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.Length() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
};

struct ResolveCase {
    const char* name;
    const wchar_t* wanted;
    const wchar_t* programFolder;
    const wchar_t* expected;
};

// All cases in one process: they share the machine's installations key.
TEST(ResolveInstallPathTest, ChoosesAmongRecordedInstallations)
{
    Installations installations;
    EXPECT_TRUE(ResolveInstallPath(L"", L"C:\\Apps\\", L"C:\\Apps\\", nullptr).IsEmpty()) << "no key";

    installations.Add(L"A First", L"C:\\Program Files\\Orvane\\Aurora Hall\\");
    installations.Add(L"B Empty", L"");
    installations.Add(L"C Second", L"D:\\Portable Hall\\");
    const ResolveCase cases[] = {
        {"ProgramInSubfolderOfSecond", L"", L"D:\\portable hall\\Bin\\Tools\\", L"D:\\Portable Hall\\"},
        {"ProgramInFirst", L"", L"C:\\Program Files\\Orvane\\Aurora Hall\\", L"C:\\Program Files\\Orvane\\Aurora Hall\\"},
        {"NoMatchTakesFirst", L"", L"E:\\Elsewhere\\", L"C:\\Program Files\\Orvane\\Aurora Hall\\"},
        {"WantedEqual", L"d:\\portable hall\\", L"E:\\Elsewhere\\", L"D:\\Portable Hall\\"},
        {"WantedMissing", L"F:\\Nowhere\\", L"C:\\Program Files\\Orvane\\Aurora Hall\\", L""},
    };
    for (const ResolveCase& c : cases) {
        bool portable = true;
        EXPECT_STREQ(ResolveInstallPath(c.wanted, c.programFolder, c.programFolder, &portable).c_str(), c.expected)
            << c.name;
        EXPECT_FALSE(portable) << c.name;
    }
}

TEST(ResolveInstallPathTest, PortableMarkerBesideTheProgramWins)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    OvString folder = OvFormat(L"%sPortable %d\\", temp, static_cast<int64_t>(GetCurrentProcessId()));
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    FILE* marker = _wfopen(folder + kPortableMarkerName, L"wb");
    ASSERT_NE(marker, nullptr);
    fclose(marker);
    bool portable = false;
    EXPECT_STREQ(ResolveInstallPath(L"", folder, L"C:\\Other\\", &portable).c_str(), folder.c_str());
    EXPECT_TRUE(portable);
    DeleteFileW(folder + kPortableMarkerName);
    RemoveDirectoryW(folder);
}

TEST(ProcessInfoBlockTest, FilledOnceWithTheProcessAndItsFolders)
{
    OvProcessInfoBlock* block = OvProcessInfo::Block();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block, OvProcessInfo::Block());
    EXPECT_EQ(block->initialised, 1);
    EXPECT_STREQ(OvProcessInfo::GetProgramFile().c_str(), GetProgramFile().c_str());
    EXPECT_EQ(block->threadId, GetCurrentThreadId());
    EXPECT_EQ(block->settingsRootKey, 0x80000001u);
    EXPECT_EQ(block->reserved3160, -1);
    EXPECT_EQ(block->reserved3164, -1);
    EXPECT_EQ(block->reserved3168, 99);
    EXPECT_STREQ(GetApplicationDataFolder().c_str(), GetUserApplicationDataFolder().c_str());

    // The block is the named shared memory of this process.
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, OvProcessInfo::BlockName(GetCurrentProcessId()));
    ASSERT_NE(mapping, nullptr);
    auto* view = static_cast<const OvProcessInfoBlock*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    SetLibrariesFolder(L"C:\\Libraries");
    EXPECT_STREQ(view->librariesFolder, L"C:\\Libraries\\");
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    EXPECT_STREQ(OvProcessInfo::BlockName(42).c_str(), L"Orvane Process v23 (42)");
}

TEST(ProcessInfoBlockTest, SettersKeepPathsInsideTheirFields)
{
    SetInstallFolder(L"C:\\Install", true, false);
    EXPECT_STREQ(GetInstallFolder().c_str(), L"C:\\Install\\");
    EXPECT_STREQ(GetLibrariesFolder().c_str(), L"C:\\Install\\");
    EXPECT_STREQ(GetDataFolder().c_str(), L"C:\\Install\\Data\\");
    SetDataRootFolder(L"C:\\Root\\\\");
    EXPECT_STREQ(GetDataFolder().c_str(), L"C:\\Root\\Data\\");
    SetInstallFolder(L"C:\\Other", false, true);
    EXPECT_STREQ(GetLibrariesFolder().c_str(), L"C:\\Install\\");

    // A path longer than the field is neither written past it nor cut into another folder.
    OvString longPath(L"C:\\");
    while (longPath.Length() < 400) longPath += L"abcdefghij\\";
    SetInstallFolder(longPath, false, false);
    EXPECT_TRUE(GetInstallFolder().IsEmpty());
    OvString fits = longPath.Left(258);
    SetInstallFolder(fits, false, false);
    EXPECT_STREQ(GetInstallFolder().c_str(), (fits + L"\\").c_str());
    EXPECT_STREQ(GetDataFolder().c_str(), L"C:\\Root\\Data\\");
    SetInstallFolder(L"", true, false);
}

TEST(WindowsFoldersTest, EndInOneBackslash)
{
    for (const OvString& folder : {GetProgramFilesFolder(), GetSystemFolder(), GetWindowsFolder(), GetFontsFolder(),
                                   GetCommonProgramsFolder(), GetCommonDesktopFolder(), GetUserApplicationDataFolder()}) {
        ASSERT_GE(folder.Length(), 4) << folder.c_str();
        EXPECT_TRUE(folder.EndsWith(L"\\")) << folder.c_str();
        EXPECT_FALSE(folder.EndsWith(L"\\\\")) << folder.c_str();
        EXPECT_TRUE(DirectoryExists(folder)) << folder.c_str();
    }
    EXPECT_STREQ(GetFontsFolder().c_str(), (GetWindowsFolder() + L"Fonts\\").c_str());
}

}  // namespace

namespace {

TEST(ProcessInfoBlockTest, SecondModuleReadsItAndSecondProcessHasItsOwn)
{
    SetInstallFolder(L"C:\\Only In This Process", true, false);
    OvProcessInfo::SetInstallerFlag(true);

    HMODULE reader = LoadLibraryW(BuildFile(OV_BLOCK_READER_PATH));
    ASSERT_NE(reader, nullptr);
    using ReadProc = bool (*)(wchar_t*, int, int*);
    auto read = reinterpret_cast<ReadProc>(reinterpret_cast<void*>(GetProcAddress(reader, "ReadBlockOfThisProcess")));
    ASSERT_NE(read, nullptr);
    wchar_t folder[300] = {};
    int installer = 0;
    ASSERT_TRUE(read(folder, 300, &installer));
    EXPECT_STREQ(folder, L"C:\\Only In This Process\\");
    EXPECT_EQ(installer, 1);
    FreeLibrary(reader);

    // Another process fills a block of its own.
    OvString command = OvString(L"\"") + BuildFile(OV_TEST_HELPER_PATH) + L"\" process-block";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    OvString output = OvFormat(L"%sblock %d.txt", temp, static_cast<int64_t>(GetCurrentProcessId()));
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileW(output, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command.GetBuffer(0), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                               &process));
    command.ReleaseBuffer();
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(out);
    EXPECT_EQ(code, 0u);
    FILE* f = _wfopen(output, L"rb");
    ASSERT_NE(f, nullptr);
    char line[512] = {};
    fgets(line, sizeof line, f);
    fclose(f);
    DeleteFileW(output);
    EXPECT_EQ(strncmp(line, "install\t", 8), 0) << line;
    EXPECT_EQ(strstr(line, "Only In This Process"), nullptr) << line;
    SetInstallFolder(L"", true, false);
}

}  // namespace

namespace {

class ProductFoldersTest : public ToolsFolderTest {
protected:
    void SetUp() override
    {
        ToolsFolderTest::SetUp();
        SetLibrariesFolder(folder_);
        ASSERT_TRUE(LoadProductInformation(false, false));
    }
};

TEST_F(ProductFoldersTest, TempFolderFromTheSettingElseBelowTheGenericFolder)
{
    // No setting: the generic folder's Temp, made on the spot.
    const OvString generic = GetGenericFolder();
    EXPECT_STREQ(generic.c_str(), (GetApplicationDataFolder() + L"Orvane\\Generic\\").c_str());
    const OvString temp = GetTempFolder();
    EXPECT_STREQ(temp.c_str(), (generic + L"Temp\\").c_str());
    EXPECT_TRUE(DirectoryExists(temp));

    // The user's temp location gets an "Orvane" folder of its own.
    IOvSettingsSection* properties = GetSettingsSection(L"Properties");
    ASSERT_NE(properties, nullptr);
    properties->SetString(L"File Location - Temp Location", folder_ + L"My Temp");
    EXPECT_STREQ(GetTempFolder().c_str(), (folder_ + L"My Temp\\Orvane\\").c_str());
    EXPECT_TRUE(DirectoryExists(folder_ + L"My Temp\\Orvane\\"));

    // A location that cannot be made falls back to the generic folder.
    properties->SetString(L"File Location - Temp Location", L"Q:\\unreachable");
    EXPECT_STREQ(GetTempFolder().c_str(), temp.c_str());
}

TEST_F(ProductFoldersTest, TemporaryFileNamesAreUnused)
{
    const OvString base = folder_;
    const OvString first = MakeTemporaryFileName(base, false, L"Ov Download.dat");
    EXPECT_STREQ(first.c_str(), (base + L"Ov Download.dat").c_str());
    WriteText(first, "x");
    EXPECT_STREQ(MakeTemporaryFileName(base, false, L"Ov Download.dat").c_str(),
                 (base + L"Ov Download (1).dat").c_str());
    EXPECT_STREQ(MakeTemporaryFileName(base, true, L"part").c_str(),
                 OvFormat(L"%spart - %d", base, static_cast<int64_t>(GetCurrentThreadId())).c_str());
    EXPECT_TRUE(MakeTemporaryFileName(L"", false, L"x.tmp").StartsWith(GetTempFolder()));
}

TEST_F(ProductFoldersTest, MyMusicEndsInOneBackslash)
{
    const OvString music = GetMyMusicFolder();
    ASSERT_FALSE(music.IsEmpty());
    EXPECT_TRUE(music.EndsWith(L"\\"));
    EXPECT_FALSE(music.EndsWith(L"\\\\"));
}

}  // namespace

namespace {

struct SkinCase {
    const char* name;
    const char* mainXml;   // null: no main.xml
    bool accepted;
};

void PrintTo(const SkinCase& c, std::ostream* os) { *os << c.name; }

class SkinWithoutStylesTest : public ProductFoldersTest, public ::testing::WithParamInterface<SkinCase> {};

TEST_P(SkinWithoutStylesTest, Table)
{
    const SkinCase& c = GetParam();
    const OvString skin = folder_ + L"Skin\\";
    ASSERT_TRUE(CreateDirectoryW(skin, nullptr));
    if (c.mainXml) WriteText(skin + L"main.xml", c.mainXml);
    EXPECT_EQ(IsStandardViewSkin(skin), c.accepted);
    EXPECT_EQ(IsStandardViewSkin(folder_ + L"Skin"), c.accepted) << "without the trailing backslash";
}

const SkinCase kSkins[] = {
    {"Version3NoStyle", "<KDMS version=\"3.0\"><MAINFRAME/></KDMS>", true},
    {"Version298", "<KDMS version=\"2.98\"><MAINFRAME/></KDMS>", false},
    {"Version299", "<KDMS version=\"2.99\"><MAINFRAME/></KDMS>", true},
    {"Version301", "<KDMS version=\"3.01\"><MAINFRAME/></KDMS>", true},
    {"Version302", "<KDMS version=\"3.02\"><MAINFRAME/></KDMS>", false},
    {"VersionWithComma", "<KDMS version=\"3,0\"><MAINFRAME/></KDMS>", true},
    {"NoVersion", "<KDMS><MAINFRAME/></KDMS>", false},
    {"StyleNotListed", "<KDMS version=\"3\" style=\"Dark\"><MAINFRAME/></KDMS>", false},
    {"NoMainFrame", "<KDMS version=\"3\"><Other/></KDMS>", false},
    {"OtherRoot", "<Skin version=\"3\"><MAINFRAME/></Skin>", false},
    {"NamesIgnoreCase", "<kdms VERSION=\"3\"><MainFrame/></kdms>", true},
    {"NoMainXml", nullptr, false},
    {"NotXml", "just text", false},
};
INSTANTIATE_TEST_SUITE_P(Skins, SkinWithoutStylesTest, ::testing::ValuesIn(kSkins),
                         [](const auto& info) { return std::string(info.param.name); });

class SkinStylesTest : public ProductFoldersTest {
protected:
    std::string ExtraDescription() override
    {
        return "[General]\nMegaSkinStyles=Dark;Light\nMegaSkinKey=My Skin Key\n";
    }
};

TEST_F(SkinStylesTest, ListedStylesAndTheStoredSkin)
{
    const OvString skin = folder_ + L"Light Skin\\";
    ASSERT_TRUE(CreateDirectoryW(skin, nullptr));
    WriteText(skin + L"main.xml", "<KDMS version=\"3.0\" style=\"light\"><MAINFRAME/></KDMS>");
    EXPECT_TRUE(IsStandardViewSkin(skin));
    WriteText(skin + L"main.xml", "<KDMS version=\"3.0\"><MAINFRAME/></KDMS>");
    EXPECT_FALSE(IsStandardViewSkin(skin)) << "no style is not among Dark and Light";

    EXPECT_TRUE(GetStoredSkinPath().IsEmpty()) << "nothing stored";
    IOvSettingsSection* properties = GetSettingsSection(L"Properties");
    ASSERT_NE(properties, nullptr);
    properties->SetString(L"My Skin Key", folder_ + L"Light Skin");
    EXPECT_TRUE(GetStoredSkinPath().IsEmpty()) << "stored, but not a standard-view skin";
    WriteText(skin + L"main.xml", "<KDMS version=\"3.0\" style=\"Dark\"><MAINFRAME/></KDMS>");
    EXPECT_STREQ(GetStoredSkinPath().c_str(), skin.c_str());
}

}  // namespace
