// The tools library loaded for real through its entry point, from a folder made per test.

#include "ToolsFolder.h"

namespace {

class ToolsLibraryTest : public ToolsFolderTest {
protected:
    std::string ExtraDescription() override
    {
        return "[Installer]\nShowLanguageSelection=1\n[Colours]\n2=#102030\n";
    }
};

TEST_F(ToolsLibraryTest, LoadsFromTheLibrariesFolderAndAnswersTheProductDescription)
{
    SetLibrariesFolder(folder_);
    EXPECT_EQ(GetToolsInterface(false), nullptr);
    ASSERT_TRUE(LoadProductInformation(false, false));
    ASSERT_NE(GetToolsInterface(false), nullptr);
    OvProductInfo* info = GetProductInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->GetName(1).c_str(), L"Test Product");
    EXPECT_STREQ(info->GetName(3).c_str(), productKey_.c_str());
    EXPECT_STREQ(info->GetMainFileName().c_str(), L"Main.exe");
    EXPECT_STREQ(info->GetLauncherFileName().c_str(), L"Launch.exe");
    EXPECT_TRUE(info->HasFeature(176));
    EXPECT_FALSE(info->HasFeature(17));
    EXPECT_EQ(info->GetInt(L"/*/Installer/ShowLanguageSelection", 0), 1);
    EXPECT_EQ(info->GetInt(L"/*/Installer/Missing", 7), 7);
    EXPECT_STREQ(info->GetString(L"/*/General/MegaSkin", L"none").c_str(), L"none");
    EXPECT_EQ(info->GetColour(2), RGB(0x10, 0x20, 0x30));
    // A second request finds the library loaded.
    EXPECT_TRUE(LoadProductInformation(false, false));
}

TEST_F(ToolsLibraryTest, SettingsLiveUnderTheProductKey)
{
    ASSERT_TRUE(LoadToolsModule(folder_));
    ASSERT_TRUE(LoadProductInformation(false, false));
    IOvSettingsSection* section = GetSettingsSection(L"Installer");
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->GetInt(L"Count", -3), -3);
    EXPECT_TRUE(section->SetInt(L"Count", 12));
    EXPECT_TRUE(section->SetString(L"Name", L"value \u00e9"));
    EXPECT_EQ(section->GetInt(L"Count", -3), 12);
    OvString text;
    OvDllString receiver(text);
    section->QueryString(L"Name", L"", receiver);
    EXPECT_STREQ(text.c_str(), L"value \u00e9");

    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orvane\\" + productKey_ + L"\\Installer", L"Count",
                           RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 12u);
}

TEST_F(ToolsLibraryTest, UnloadingTwiceIsHarmlessAndAllowsALaterLoad)
{
    ASSERT_TRUE(LoadToolsModule(folder_));
    UnloadProductLibraries(true);
    EXPECT_EQ(GetToolsInterface(false), nullptr);
    UnloadProductLibraries(true);
    EXPECT_EQ(GetModuleHandleW(folder_ + L"OvTools.dll"), nullptr);
    EXPECT_TRUE(LoadToolsModule(folder_));
    EXPECT_NE(GetToolsInterface(false), nullptr);
}

TEST_F(ToolsLibraryTest, FailuresLeaveTheSlotEmptyWithTheirErrorText)
{
    // No library in the libraries folder.
    SetLibrariesFolder(folder_ + L"missing\\");
    EXPECT_FALSE(LoadProductInformation(false, false));
    EXPECT_EQ(GetToolsInterface(false), nullptr);

    // A malformed description: the library loads, the description does not.
    SetLibrariesFolder(folder_);
    WriteText(folder_ + L"ProductInfo.ini", "[Product\n");
    EXPECT_FALSE(LoadProductInformation(false, false));
    EXPECT_NE(GetToolsInterface(false), nullptr);
    EXPECT_EQ(GetProductInfo(), nullptr);
    EXPECT_FALSE(LoadProductInformation(false, false));
    UnloadProductLibraries(true);

    // A library that is not the tools library has no entry and is freed again.
    OvString system(L"C:\\windows\\system32\\version.dll");
    bool loaded = false;
    EXPECT_FALSE(LoadProductLibrary(system, kOvToolsLibrary, &loaded));
    EXPECT_FALSE(loaded);
}

TEST(ProductLibraryNames, ListInOrder)
{
    EXPECT_STREQ(GetProductLibraryName(kOvToolsLibrary).c_str(), L"OvTools.dll");
    EXPECT_EQ(GetProductLibraryName(kOvToolsLibrary).Length(), 11);
    EXPECT_STREQ(GetProductLibraryName(kOvReaderLibrary).c_str(), L"OvReader.dll");
    EXPECT_STREQ(GetProductLibraryName(kOvTelevisionLibrary).c_str(), L"OvTelevision.dll");
    EXPECT_TRUE(GetProductLibraryName(kOvProductLibraryCount).IsEmpty());
}

TEST(CriticalErrorTextTest, NamesModuleAndError)
{
    EXPECT_STREQ(CriticalErrorText(L"C:\\d\\Setup.exe", L"Failed to load OvTools").c_str(),
                 L"The following module has failed to load:\r\nC:\\d\\Setup.exe\r\n\r\nIt has reported the "
                 L"following error:\r\n\r\nFailed to load OvTools\r\n\r\nPlease reinstall the latest version of "
                 L"the program.");
}

}  // namespace
