#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

TEST(IniFile, ReadsAsTheWindowsProfileFunctionsDo) {
    struct Case {
        const char* name;
        std::string text;
        const char* section;
        const char* key;
        std::size_t size;
        std::string expected;
    } cases[] = {
        {"names ignore case", "[setting]\r\np1=5\r\n", "SETTING", "P1", 255, "5"},
        {"blanks and tabs trimmed", " [ SETTING ] \r\n\t p1 \t=  -500.0000 \t\r\n", "SETTING", "P1", 255, "-500.0000"},
        {"double quotes stripped", "[S]\r\nP2=\"500.0000\"\r\n", "S", "P2", 255, "500.0000"},
        {"single quotes stripped", "[S]\r\nT= 'A B' \r\n", "S", "T", 255, "A B"},
        {"unmatched quotes kept", "[S]\r\nT=\"AB'\r\n", "S", "T", 255, "\"AB'"},
        {"lone quote kept", "[S]\r\nT=\"\r\n", "S", "T", 255, "\""},
        {"inner equals kept", "[S]\r\nT=a=b\r\n", "S", "T", 255, "a=b"},
        {"first key wins", "[S]\r\nK=1\r\nk=2\r\n", "S", "K", 255, "1"},
        {"first section wins", "[S]\r\nA=1\r\n[s]\r\nK=2\r\n", "S", "K", 255, "<def>"},
        {"other section's key", "[A]\r\nK=1\r\n[B]\r\nK=2\r\n", "B", "K", 255, "2"},
        {"comment line", "[S]\r\n;K=1\r\n K=2\r\n", "S", "K", 255, "2"},
        {"commented key only", "[S]\r\n ; K=1\r\n", "S", "K", 255, "<def>"},
        {"LF line ends", "[S]\nA=1\nK=2\n", "S", "K", 255, "2"},
        {"no final line end", "[S]\r\nK=2", "S", "K", 255, "2"},
        {"key before any section", "K=0\r\n[S]\r\n", "S", "K", 255, "<def>"},
        {"missing section", "[T]\r\nK=1\r\n", "S", "K", 255, "<def>"},
        {"empty value", "[S]\r\nK=\r\n", "S", "K", 255, ""},
        {"key without equals", "[S]\r\nK\r\n", "S", "K", 255, ""},
        {"cut to 30", "[HEAD]\r\nMODEL=" + std::string(40, 'M') + "\r\n", "HEAD", "MODEL", 31, std::string(30, 'M')},
        {"cut to 254", "[S]\r\nP0=" + std::string(300, '7') + "\r\n", "S", "P0", 255, std::string(254, '7')},
        {"default cut too", "", "S", "K", 3, "<d"},
        {"bytes kept", "[S]\r\nK=\xe9\x1a\x80\r\n", "S", "K", 255, "\xe9\x1a\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CIniFile(c.text).GetString(c.section, c.key, "<def>", c.size), c.expected) << c.name;
    }
}

TEST(IniFile, WritesInPlaceAndKeepsEveryOtherByte) {
    struct Case {
        const char* name;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    } cases[] = {
        {"new file", "", "S", "K", "v", "[S]\r\nK=v\r\n"},
        {"replace in place", "; head\n[s]\n  k = 1  \nother = \"x\"\n\n[T]\r\nK=3",
         "S", "K", "2", "; head\n[s]\nK=2\nother = \"x\"\n\n[T]\r\nK=3"},
        {"replace last line without end", "[S]\r\nK=1", "S", "K", "22", "[S]\r\nK=22"},
        {"append at end of section", "[S]\r\nA=1\r\n\r\n; about T\r\n[T]\r\nB=2\r\n",
         "S", "K", "v", "[S]\r\nA=1\r\nK=v\r\n\r\n; about T\r\n[T]\r\nB=2\r\n"},
        {"append to empty section", "[S]\n[T]\n", "S", "K", "v", "[S]\nK=v\r\n[T]\n"},
        {"append after unterminated line", "[S]\r\nA=1", "S", "K", "v", "[S]\r\nA=1\r\nK=v\r\n"},
        {"new section at end", "[A]\nX=1", "B", "K", "v", "[A]\nX=1\r\n[B]\r\nK=v\r\n"},
        {"first of twin sections", "[S]\r\nA=1\r\n[S]\r\nK=1\r\n", "S", "K", "v",
         "[S]\r\nA=1\r\nK=v\r\n[S]\r\nK=1\r\n"},
        {"line breaks become blanks", "", "S", "K", "a\r\n[HEAD]\nMODEL=X", "[S]\r\nK=a  [HEAD] MODEL=X\r\n"},
        {"empty value", "[S]\r\nK=1\r\n", "S", "K", "", "[S]\r\nK=\r\n"},
    };
    for (const auto& c : cases) {
        CIniFile ini(c.before);
        ini.SetString(c.section, c.key, c.value);
        EXPECT_EQ(ini.GetText(), c.after) << c.name;
    }
}

TEST(IniFile, AValueWithLineBreaksCannotShadowASection) {
    CIniFile ini;
    ini.SetString("SETTING", "P62000", "TAG\r\n[HEAD]\r\nMODEL=K9U");
    ini.SetString("HEAD", "MODEL", "K9R");
    EXPECT_EQ(ini.GetString("HEAD", "MODEL", "", 31), "K9R");
    EXPECT_EQ(ini.GetString("SETTING", "P62000", "", 255), "TAG  [HEAD]  MODEL=K9U");
}

TEST(IniFile, FileFunctionsCreateReadAndRefuseUnreadableFiles) {
    CTempFolder dir;
    const std::string path = dir / "a.ini";
    EXPECT_EQ(GetIniString(path, "S", "K", "def", 255), "def");
    ASSERT_TRUE(WriteIniString(path, "S", "K", "1"));
    ASSERT_TRUE(WriteIniString(path, "S", "L", "2"));
    ASSERT_TRUE(WriteIniString(path, "s", "k", "3"));
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=3\r\nL=2\r\n");
    EXPECT_EQ(GetIniString(path, "S", "L", "", 255), "2");

    // A folder where the file should be cannot be read, so it must not be replaced.
    EXPECT_FALSE(WriteIniString(dir.Path(), "S", "K", "1"));
    EXPECT_FALSE(WriteIniString(dir / "gone/a.ini", "S", "K", "1"));
}
