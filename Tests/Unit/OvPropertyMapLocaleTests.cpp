// Number texts where the locale writes a decimal comma. The string library works out the
// separator once per process, so this program sets the locale before any test runs.

#include "OvPropertyMap.h"
#include "OvPropertyMapTestSupport.h"
#include "OvStoredFormats.h"
#include "OvStringNumbers.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

// The string manager sets the user's default locale when it is created; the numeric part is
// switched to a comma locale after that and before the separator is first asked for.
const char* const gCommaLocale = [] {
    OvStringGlobals::Get();
    for (const char* name : {"German_Germany.1252", "German", "de-DE", "deu"}) {
        if (setlocale(LC_NUMERIC, name)) return name;
    }
    return static_cast<const char*>(nullptr);
}();

TEST(OvPropertyMapCommaLocale, DoublesAreWrittenWithACommaAndReadWithEither)
{
    ASSERT_NE(gCommaLocale, nullptr) << "no locale with a decimal comma";
    ASSERT_EQ(GetDecimalSeparator(), L',');

    OvPropertyMap map;
    map.SetDouble(L"half", 0.5);
    EXPECT_EQ(map.GetString(L"half"), L"0,5");
    map.SetDouble(L"whole", -12);
    EXPECT_EQ(map.GetString(L"whole"), L"-12");
    map.SetString(L"point", L"2.5");
    map.SetString(L"comma", L"2,5");
    EXPECT_EQ(map.GetDouble(L"point"), 2.5);
    EXPECT_EQ(map.GetDouble(L"comma"), 2.5);
    EXPECT_EQ(map.GetDouble(L"half"), 0.5);
    // The default goes through its comma text and back.
    EXPECT_EQ(map.GetDouble(L"missing", 0.25), 0.25);
}

TEST(OvPropertyMapCommaLocale, PropertyTextVersionTakesTheCommaButTaggedFileNamesKeepThePoint)
{
    ASSERT_EQ(GetDecimalSeparator(), L',');
    OvPropertyMap map;
    map.SetString(L"LibraryPath", L"C:\\Music");
    OvString text;
    map.SaveXML(text, L"XMLPH", false, 1.0);
    EXPECT_EQ(text, L"<XMLPH version=\"1,0\">\r\n<Item Name=\"LibraryPath\">C:\\Music</Item>\r\n</XMLPH>");
    OvPropertyMap back;
    EXPECT_TRUE(back.LoadXML(text, L"XMLPH", 1.0));
    EXPECT_TRUE(back.IsEqual(map));
    EXPECT_TRUE(back.LoadXML(L"<XMLPH version=\"1.0\"><Item Name=\"a\">1</Item></XMLPH>", L"XMLPH", 1.0));
    EXPECT_EQ(back.GetString(L"a"), L"1");

    // Tagged file names are compared by their version text "1.0": the writer must not follow the locale.
    const OvString fileName = WriteTaggedFileName(L"C:\\a.mp3", map);
    EXPECT_TRUE(fileName.StartsWith(L"<XMLFN version=\"1.0\">\r\n"));
    OvPropertyMap properties;
    EXPECT_EQ(UnpackLocationText(fileName, properties, true), L"C:\\a.mp3");
    EXPECT_TRUE(properties.IsEqual(map));
}

}  // namespace
