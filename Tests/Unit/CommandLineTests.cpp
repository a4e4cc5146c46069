#include "InstallConfiguration.h"
#include "OvExecutableApp.h"

#include <gtest/gtest.h>

namespace {

struct Flags {
    bool silent, upgrade, noAssociations, noDependencies, noUpgrade, noDriver, noRun;
    const wchar_t* distributorId;
};

struct CommandLineCase {
    const char* name;
    const wchar_t* text;
    Flags expected;
};

void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {
protected:
    void SetUp() override { InstallConfig() = InstallConfiguration(); }
};

TEST_P(CommandLineTest, SetsExactlyTheNamedFlags)
{
    const CommandLineCase& c = GetParam();
    EXPECT_TRUE(ParseCommandLine(c.text));
    const InstallConfiguration& config = InstallConfig();
    EXPECT_EQ(config.silent, c.expected.silent);
    EXPECT_EQ(config.upgrade, c.expected.upgrade);
    EXPECT_EQ(config.noAssociations, c.expected.noAssociations);
    EXPECT_EQ(config.noDependencies, c.expected.noDependencies);
    EXPECT_EQ(config.noUpgrade, c.expected.noUpgrade);
    EXPECT_EQ(config.noDriver, c.expected.noDriver);
    EXPECT_EQ(config.noRun, c.expected.noRun);
    EXPECT_STREQ(config.distributorId.c_str(), c.expected.distributorId);
    // Flags that no option sets keep their defaults.
    EXPECT_FALSE(config.express);
    EXPECT_TRUE(config.allowDowngrade);
}

const CommandLineCase kCases[] = {
    {"NoOptions", L"C:\\dist\\Setup.exe", {false, false, false, false, false, false, false, L""}},
    {"SilentNoRunWithoutBlanks", L"Setup.exe /silent/noRun", {true, false, false, false, false, false, true, L""}},
    {"KeywordsIgnoreCase", L"Setup.exe /SILENT /Silently", {true, false, false, false, false, false, false, L""}},
    {"UpgradeWithVersion", L"Setup.exe /Upgrade23.0", {false, true, false, false, false, false, false, L""}},
    {"NoAssociationsWithSuffix", L"Setup.exe /NoAssociationsX", {false, false, true, false, false, false, false, L""}},
    {"BareNoMatchesNothing", L"Setup.exe /No", {false, false, false, false, false, false, false, L""}},
    {"EveryNoOption", L"Setup.exe /NoDependencies /NoUpgrade /NoDriver /NoRun",
     {false, false, false, true, true, true, true, L""}},
    {"DistributorIdAlone", L"Setup.exe /DistributorID", {false, false, false, false, false, false, false, L""}},
    {"DistributorIdTrimmed", L"Setup.exe /DistributorID  ABC12  ", {false, false, false, false, false, false, false,
                                                                    L"ABC12"}},
    {"DistributorIdWithSlash", L"Setup.exe /DistributorID a/b", {false, false, false, false, false, false, false,
                                                                 L"a"}},
    {"DistributorIdEqualsKept", L"Setup.exe /DistributorID=ABC12", {false, false, false, false, false, false, false,
                                                                     L"=ABC12"}},
    {"LaterDistributorIdWins", L"Setup.exe /DistributorID one /silent /distributorid two",
     {true, false, false, false, false, false, false, L"two"}},
    {"EmptyPiecesIgnored", L"Setup.exe //silent//", {true, false, false, false, false, false, false, L""}},
    {"TextBeforeFirstSlashDropped", L"C:\\Silent\\Setup.exe", {false, false, false, false, false, false, false, L""}},
    {"UnknownOptionIgnored", L"Setup.exe /Verbose /Upgrade", {false, true, false, false, false, false, false, L""}},
};

INSTANTIATE_TEST_SUITE_P(Options, CommandLineTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JoinArgumentsTest, QuotesAndEscapesAsTheParserExpects)
{
    OvStringArray arguments{L"C:\\my dist\\Setup.exe", L"/silent", L"", L"it's", L"say \"hi\"", L"/NoRun"};
    EXPECT_STREQ(OvExecutableApp::JoinArguments(arguments).c_str(),
                 L"\"C:\\my dist\\Setup.exe\" /silent \"\" \"it's\" \"say \\\"hi\\\"\" /NoRun");
}

TEST(JoinArgumentsTest, JoinedArgumentsParseToTheirFlags)
{
    InstallConfig() = InstallConfiguration();
    OvStringArray arguments{L"C:\\dist\\Setup.exe", L"/Silent", L"/DistributorID", L"XY7"};
    ParseCommandLine(OvExecutableApp::JoinArguments(arguments));
    EXPECT_TRUE(InstallConfig().silent);
    EXPECT_STREQ(InstallConfig().distributorId.c_str(), L"XY7");
}

}  // namespace
