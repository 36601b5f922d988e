// INI seeding text and the typed settings over texts.

#include <gtest/gtest.h>

#include "data/settings_access.h"
#include "ui/ini_file.h"

namespace corvan {
namespace {

TEST(Ini, SectionsIdentifiersAndVerbatimValues) {
    const auto e = ParseIni(
        "; old settings\r\n[Comm]\r\nPort=3\r\nCorvanBaud = 19200\r\n\r\n[Directory]\r\n"
        "Corvan=c:\\data\\\r\nnot a pair\r\n[Margins]\r\nLeft=1,5\r\n");
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].section, "Comm");
    EXPECT_EQ(e[0].ident, "Port");
    EXPECT_EQ(e[0].value, "3");
    EXPECT_EQ(e[1].value, "19200");
    EXPECT_EQ(e[2].value, "c:\\data\\");
    EXPECT_EQ(e[3].value, "1,5");
    EXPECT_TRUE(ParseIni("Port=1\n").empty());  // no section: nowhere to put it
}

TEST(Settings, TypedValuesFallBackToTheirDefaults) {
    MemorySettings s;
    EXPECT_EQ(s.ReadInteger("Chart", "IMargin", 50), 50);
    s.WriteString("Chart", "IMargin", " 42 ");
    EXPECT_EQ(s.ReadInteger("Chart", "IMargin", 50), 42);
    s.WriteString("Chart", "IMargin", "4x");
    EXPECT_EQ(s.ReadInteger("Chart", "IMargin", 50), 50);
    EXPECT_FALSE(s.ReadBool("Chart", "DateGridVisible", false));
    s.WriteBool("Chart", "DateGridVisible", true);
    EXPECT_TRUE(s.ReadBool("Chart", "DateGridVisible", false));
    s.WriteString("Chart", "DateGridVisible", "false");
    EXPECT_FALSE(s.ReadBool("Chart", "DateGridVisible", true));
    s.WriteInteger("Colors", "Legend", -2147483633);
    EXPECT_EQ(s.ReadInteger("Colors", "Legend", 0), -2147483633);
    EXPECT_TRUE(s.Contains("Colors", "Legend"));
    EXPECT_FALSE(s.Contains("Colors", "Bar"));
}

}  // namespace
}  // namespace corvan
