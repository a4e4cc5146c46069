#include "InstallConfiguration.h"
#include "OvFileSystem.h"
#include "OvStringFormat.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string Narrow(const OvString& text)
{
    std::string out;
    for (int i = 0; i < text.Length(); ++i) out += text[i] < 128 ? static_cast<char>(text[i]) : '?';
    return out;
}

void DeleteTree(const OvString& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(folder + L"*", &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const OvString name(data.cFileName);
            if (name.Equals(L".") || name.Equals(L"..")) continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(folder + name + L"\\");
            else
                DeleteFileW(folder + name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder);
}

// A private folder tree under the temporary folder, with the installer's folder "dist\" in it.
class InstallFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        OvString name = OvString(L"OvInstallXml ") + OvFormat(L"%d ", static_cast<int64_t>(GetCurrentProcessId()));
        for (const char* p = info->name(); *p; ++p) name += static_cast<wchar_t>(*p == '/' ? '-' : *p);
        root_ = EnsureTrailingBackslash(OvString(temp) + name);
        DeleteTree(root_);
        ASSERT_TRUE(CreateDirectoryW(root_, nullptr));
        MakeFolder(L"dist");
        dist_ = root_ + L"dist\\";
        InstallConfig() = InstallConfiguration();
        SetInstallerFolderOverride(dist_);
    }

    void TearDown() override
    {
        SetInstallerFolderOverride(L"");
        InstallConfig() = InstallConfiguration();
        DeleteTree(root_);
    }

    void MakeFolder(const wchar_t* relative) { ASSERT_TRUE(CreateDirectoryW(root_ + relative, nullptr)); }

    // Writes the text as UTF-8 (with a byte-order mark when asked).
    void WriteFile(const wchar_t* relative, const std::wstring& text, bool byteOrderMark = false)
    {
        std::string bytes = byteOrderMark ? "\xEF\xBB\xBF" : "";
        if (!text.empty()) {
            const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                              nullptr, nullptr);
            std::string utf8(static_cast<size_t>(n), '\0');
            WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n, nullptr,
                                nullptr);
            bytes += utf8;
        }
        HANDLE file = CreateFileW(root_ + relative, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_EQ(written, bytes.size());
    }

    // The path relative to the tree's root ("" for paths outside it).
    std::string Relative(const OvString& path) const
    {
        return path.StartsWithNoCase(root_) ? Narrow(path.Mid(root_.Length())) : "outside: " + Narrow(path);
    }

    std::vector<std::string> SupportFolders() const
    {
        std::vector<std::string> folders;
        for (const OvString& f : InstallConfig().supportFolders) folders.push_back(Relative(f));
        return folders;
    }

    OvString root_;
    OvString dist_;
};

// Support-file look-ups.

class SupportFileTest : public InstallFolderTest {
protected:
    void SetUp() override
    {
        InstallFolderTest::SetUp();
        for (const wchar_t* folder : {L"one", L"two", L"two\\sub", L"two\\sub\\deeper", L"two\\other"})
            MakeFolder(folder);
        InstallConfig().supportFolders.Add(root_ + L"one\\");
        InstallConfig().supportFolders.Add(root_ + L"two\\");
    }
};

TEST_F(SupportFileTest, FirstFolderWithoutExistenceFirstFileWithIt)
{
    WriteFile(L"two\\setup.dat", L"x");
    EXPECT_EQ(Relative(FindSupportFile(L"setup.dat", true)), "two\\setup.dat");
    EXPECT_EQ(Relative(FindSupportFile(L"setup.dat", false)), "one\\setup.dat");
    WriteFile(L"one\\setup.dat", L"x");
    EXPECT_EQ(Relative(FindSupportFile(L"setup.dat", true)), "one\\setup.dat");
    EXPECT_EQ(Relative(FindSupportFile(L"sub\\missing.dat", false)), "one\\sub\\missing.dat");
    EXPECT_TRUE(FindSupportFile(L"missing.dat", true).IsEmpty());
    EXPECT_TRUE(FindSupportFile(L"sub", true).IsEmpty());   // a folder is not a file

    InstallConfig().supportFolders.RemoveAll();
    EXPECT_TRUE(FindSupportFile(L"setup.dat", false).IsEmpty());
}

TEST_F(SupportFileTest, FilesByExtensionInEveryFolderAndSubfolderFolderByFolder)
{
    for (const wchar_t* file : {L"one\\a.kdp", L"one\\b.KDP", L"one\\c.kdpx", L"one\\d.txt", L"two\\e.kdp",
                                L"two\\sub\\f.Kdp", L"two\\sub\\deeper\\g.kdp", L"two\\other\\h.kdp", L"two\\kdp"})
        WriteFile(file, L"x");
    const OvStringArray found = FindSupportFiles(L"kdp");
    std::vector<std::string> paths;
    for (const OvString& f : found) paths.push_back(Relative(f));
    ASSERT_EQ(paths.size(), 6u);
    // The first support folder's files come first; each folder's order is the system's.
    std::vector<std::string> first(paths.begin(), paths.begin() + 2), second(paths.begin() + 2, paths.end());
    std::sort(first.begin(), first.end());
    EXPECT_EQ(first, (std::vector<std::string>{"one\\a.kdp", "one\\b.KDP"}));
    std::vector<std::string> sorted = second;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"two\\e.kdp", "two\\other\\h.kdp", "two\\sub\\deeper\\g.kdp",
                                                "two\\sub\\f.Kdp"}));
    EXPECT_EQ(second[0], "two\\e.kdp");   // a folder's own files before its subfolders'

    InstallConfig().supportFolders.Add(root_ + L"missing\\");
    EXPECT_EQ(FindSupportFiles(L".kdp").GetCount(), 6);
}


// Reading Install.xml.

struct InstallXmlCase {
    const char* name;
    const wchar_t* xml;                    // Install.xml beside the installer ("{root}": the tree's root); null: none
    std::vector<const wchar_t*> folders;   // made first, relative to the root
    std::vector<std::string> support;      // support folders read, relative to the root
    int allowDowngrade;                    // -1: left as it was
    const char* media;                     // bundled media folder read, relative to the root
    bool byteOrderMark = false;
};

void PrintTo(const InstallXmlCase& c, std::ostream* os) { *os << c.name; }

class InstallXmlTest : public InstallFolderTest, public ::testing::WithParamInterface<InstallXmlCase> {};

TEST_P(InstallXmlTest, ReadsWhatTheFileSays)
{
    const InstallXmlCase& c = GetParam();
    for (const wchar_t* folder : c.folders) MakeFolder(folder);
    if (c.xml) {
        std::wstring xml = c.xml;
        const size_t at = xml.find(L"{root}");
        if (at != std::wstring::npos) xml.replace(at, 6, root_.c_str());
        WriteFile(L"dist\\Install.xml", xml, c.byteOrderMark);
    }
    // Once from the default record and once with downgrades refused.
    for (const bool before : {true, false}) {
        InstallConfig() = InstallConfiguration();
        InstallConfig().allowDowngrade = before;
        EXPECT_TRUE(ReadInstallXml());
        const InstallConfiguration& config = InstallConfig();
        EXPECT_EQ(SupportFolders(), c.support);
        EXPECT_EQ(config.allowDowngrade, c.allowDowngrade < 0 ? before : c.allowDowngrade == 1);
        EXPECT_EQ(config.bundledMediaFolder.IsEmpty() ? "" : Relative(config.bundledMediaFolder), c.media);
        EXPECT_EQ(Relative(config.libraryFolder), "dist\\Library\\");
    }
}

#define OVIC_SETTINGS(settings) L"<OvIC version=\"1\"><Settings>" settings L"</Settings></OvIC>"

const InstallXmlCase kInstallXmlCases[] = {
    {"NoFile", nullptr, {}, {"dist\\Support\\"}, -1, ""},
    {"Complete",
     L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- distribution settings -->\r\n<OvIC version=\"1\">\r\n"
     L"  <Settings>\r\n    <SupportFiles>Extra</SupportFiles>\r\n    <AllowDowngrade>0</AllowDowngrade>\r\n"
     L"    <BundledMedia>Media</BundledMedia>\r\n  </Settings>\r\n</OvIC>\r\n",
     {L"dist\\Extra", L"dist\\Media"}, {"dist\\Support\\", "dist\\Extra\\"}, 0, "dist\\Media\\"},
    {"WithByteOrderMark", OVIC_SETTINGS(L"<AllowDowngrade>0</AllowDowngrade>"), {}, {"dist\\Support\\"}, 0, "", true},
    {"AllowDowngradeFalseReadsAsZero", OVIC_SETTINGS(L"<AllowDowngrade>false</AllowDowngrade>"), {},
     {"dist\\Support\\"}, 0, ""},
    {"AllowDowngradeEmptyLeavesTheValue", OVIC_SETTINGS(L"<AllowDowngrade></AllowDowngrade>"), {}, {"dist\\Support\\"},
     -1, ""},
    {"AllowDowngradeSelfClosingLeavesTheValue", OVIC_SETTINGS(L"<AllowDowngrade/>"), {}, {"dist\\Support\\"}, -1, ""},
    {"AllowDowngradeNonZero", OVIC_SETTINGS(L"<AllowDowngrade>  -7</AllowDowngrade>"), {}, {"dist\\Support\\"}, 1, ""},
    {"AllowDowngradeSignedZero", OVIC_SETTINGS(L"<AllowDowngrade> +0</AllowDowngrade>"), {}, {"dist\\Support\\"}, 0,
     ""},
    {"AllowDowngradeStopsAtTheFirstNonDigit", OVIC_SETTINGS(L"<AllowDowngrade>0x1</AllowDowngrade>"), {},
     {"dist\\Support\\"}, 0, ""},
    {"AllowDowngradeBlanksReadAsZero", OVIC_SETTINGS(L"<AllowDowngrade>  </AllowDowngrade>"), {}, {"dist\\Support\\"},
     0, ""},
    {"VersionBelowOne",
     L"<OvIC version=\"0.9\"><Settings><SupportFiles>Extra</SupportFiles><AllowDowngrade>0</AllowDowngrade>"
     L"</Settings></OvIC>",
     {L"dist\\Extra"}, {"dist\\Support\\"}, -1, ""},
    {"VersionMissing", L"<OvIC><Settings><AllowDowngrade>0</AllowDowngrade></Settings></OvIC>", {},
     {"dist\\Support\\"}, -1, ""},
    {"VersionNotANumber", L"<OvIC version=\"one\"><Settings><AllowDowngrade>0</AllowDowngrade></Settings></OvIC>", {},
     {"dist\\Support\\"}, -1, ""},
    {"VersionWithDecimals", L"<OvIC version=\"1.0\"><Settings><AllowDowngrade>0</AllowDowngrade></Settings></OvIC>",
     {}, {"dist\\Support\\"}, 0, ""},
    {"VersionWithDecimalComma",
     L"<OvIC version=\"1,5\"><Settings><AllowDowngrade>0</AllowDowngrade></Settings></OvIC>", {}, {"dist\\Support\\"},
     0, ""},
    {"OtherRoot",
     L"<OvIX version=\"1\"><Settings><SupportFiles>Extra</SupportFiles><AllowDowngrade>0</AllowDowngrade>"
     L"</Settings></OvIX>",
     {L"dist\\Extra"}, {"dist\\Support\\"}, -1, ""},
    {"NamesInOtherLetterCase",
     L"<ovic VERSION=\"2\"><SETTINGS><supportfiles>Extra</supportfiles><allowdowngrade>0</allowdowngrade>"
     L"</SETTINGS></ovic>",
     {L"dist\\Extra"}, {"dist\\Support\\", "dist\\Extra\\"}, 0, ""},
    {"SettingsMissing", L"<OvIC version=\"1\"><AllowDowngrade>0</AllowDowngrade></OvIC>", {}, {"dist\\Support\\"},
     -1, ""},
    {"SettingsAmongOtherNodes",
     L"<OvIC version=\"1\"><Other/><!-- note --><Settings><Unknown>1</Unknown>"
     L"<AllowDowngrade><!-- off -->0</AllowDowngrade></Settings></OvIC>",
     {}, {"dist\\Support\\"}, 0, ""},
    {"Malformed", L"<OvIC version=\"1\"><Settings><AllowDowngrade>0</AllowDowngrade></Settings>", {},
     {"dist\\Support\\"}, -1, ""},
    {"SupportFilesFolderMissing", OVIC_SETTINGS(L"<SupportFiles>Nowhere</SupportFiles>"), {}, {"dist\\Support\\"}, -1,
     ""},
    {"SupportFilesWithTrailingBackslash", OVIC_SETTINGS(L"<SupportFiles>Extra\\</SupportFiles>"), {L"dist\\Extra"},
     {"dist\\Support\\", "dist\\Extra\\"}, -1, ""},
    {"SupportFilesInTheFolderAbove", OVIC_SETTINGS(L"<SupportFiles>..\\Shared</SupportFiles>"), {L"Shared"},
     {"dist\\Support\\", "Shared\\"}, -1, ""},
    {"SupportFilesAbsolute", OVIC_SETTINGS(L"<SupportFiles>{root}Abs</SupportFiles>"), {L"Abs"},
     {"dist\\Support\\", "Abs\\"}, -1, ""},
    {"SupportFilesNotAscii", OVIC_SETTINGS(L"<SupportFiles>\u00dcbung \u4e2d</SupportFiles>"),
     {L"dist\\\u00dcbung \u4e2d"}, {"dist\\Support\\", "dist\\?bung ?\\"}, -1, ""},
    {"BundledMediaFolderMissing", OVIC_SETTINGS(L"<BundledMedia>NoMedia</BundledMedia>"), {}, {"dist\\Support\\"}, -1,
     ""},
    {"BundledMediaInTheFolderAbove", OVIC_SETTINGS(L"<BundledMedia>..\\Media</BundledMedia>"), {L"Media"},
     {"dist\\Support\\"}, -1, "Media\\"},
};

INSTANTIATE_TEST_SUITE_P(Files, InstallXmlTest, ::testing::ValuesIn(kInstallXmlCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallFolderTest, InstallXmlOneFolderAboveTheInstaller)
{
    for (const wchar_t* folder : {L"Extra", L"dist\\Extra", L"dist\\Media"}) MakeFolder(folder);
    WriteFile(L"Install.xml", OVIC_SETTINGS(L"<SupportFiles>Extra</SupportFiles><AllowDowngrade>0</AllowDowngrade>"
                                            L"<BundledMedia>dist\\Media</BundledMedia>"));
    ASSERT_TRUE(ReadInstallXml());
    // Relative folders resolve against the folder of the file that was read.
    EXPECT_EQ(SupportFolders(), (std::vector<std::string>{"dist\\Support\\", "Extra\\"}));
    EXPECT_FALSE(InstallConfig().allowDowngrade);
    EXPECT_EQ(Relative(InstallConfig().bundledMediaFolder), "dist\\Media\\");

    // A file beside the installer is taken instead.
    WriteFile(L"dist\\Install.xml", OVIC_SETTINGS(L"<SupportFiles>Extra</SupportFiles>"));
    InstallConfig() = InstallConfiguration();
    ASSERT_TRUE(ReadInstallXml());
    EXPECT_EQ(SupportFolders(), (std::vector<std::string>{"dist\\Support\\", "dist\\Extra\\"}));
    EXPECT_TRUE(InstallConfig().allowDowngrade);
    EXPECT_TRUE(InstallConfig().bundledMediaFolder.IsEmpty());
}

}  // namespace
