#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "support/temp_folder.h"

TEST(IniFile, ReadsAsTheWindowsProfileFunctionsDo) {
    struct Case {
        const char* name;
        std::string text;
        const char* key;
        std::size_t size;
        std::string expected;
    } cases[] = {
        {"names ignore case", "[setting]\r\np1=5\r\n", "P1", 255, "5"},
        {"blanks and tabs trimmed", " [ SETTING ] \r\n\t p1 \t=  -500.0000 \t\r\n", "P1", 255, "-500.0000"},
        {"double quotes stripped", "[SETTING]\r\nP1=\"500.0000\"\r\n", "P1", 255, "500.0000"},
        {"single quotes stripped", "[SETTING]\r\nP1= 'A B' \r\n", "P1", 255, "A B"},
        {"unmatched quotes kept", "[SETTING]\r\nP1=\"AB'\r\n", "P1", 255, "\"AB'"},
        {"inner equals kept", "[SETTING]\r\nP1=a=b\r\n", "P1", 255, "a=b"},
        {"first key wins", "[SETTING]\r\nP1=1\r\np1=2\r\n", "P1", 255, "1"},
        {"first section wins", "[SETTING]\r\nA=1\r\n[Setting]\r\nP1=2\r\n", "P1", 255, "<def>"},
        {"other section's key", "[A]\r\nP1=1\r\n[SETTING]\r\nP1=2\r\n", "P1", 255, "2"},
        {"comment line", "[SETTING]\r\n ;P1=1\r\nP1=2\r\n", "P1", 255, "2"},
        {"LF line ends", "[SETTING]\nA=1\nP1=2\n", "P1", 255, "2"},
        {"no final line end", "[SETTING]\r\nP1=2", "P1", 255, "2"},
        {"key before any section", "P1=0\r\n[SETTING]\r\n", "P1", 255, "<def>"},
        {"empty value", "[SETTING]\r\nP1=\r\n", "P1", 255, ""},
        {"cut to 30", "[SETTING]\r\nMODEL=" + std::string(40, 'M'), "MODEL", 31, std::string(30, 'M')},
        {"cut to 254", "[SETTING]\r\nP1=" + std::string(300, '7'), "P1", 255, std::string(254, '7')},
        {"default cut too", "", "P1", 3, "<d"},
        {"bytes kept", "[SETTING]\r\nP1=\xe9\x1a\x80\r\n", "P1", 255, "\xe9\x1a\x80"},
        {"byte-order mark", "\xEF\xBB\xBF[SETTING]\r\nP1=5\r\n", "P1", 255, "5"},
        {"CR line ends", "[SETTING]\rA=1\rP1=2\r", "P1", 255, "2"},
        {"lone CR ends the last line", "[SETTING]\r\nA=1\r\nP1=2\r", "P1", 255, "2"},
        {"line without equals is no key", "[SETTING]\r\nP1\r\nP1=4\r\n", "P1", 255, "4"},
        {"unclosed bracket is no section", "[SETTING]\r\n[T\r\nP1=3\r\n", "P1", 255, "3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CIniFile(c.text).GetString("SETTING", c.key, "<def>", c.size), c.expected) << c.name;
}

TEST(IniFile, WritesInPlaceAndKeepsEveryOtherByte) {
    struct Case {
        const char* name;
        std::string before;
        const char* section;
        const char* value;
        std::string after;
    } cases[] = {
        {"new file", "", "S", "v", "[S]\r\nK=v\r\n"},
        {"replace in place", "; head\n[s]\n  k = 1  \nother = \"x\"\n\n[T]\r\nK=3", "S", "2",
         "; head\n[s]\nK=2\nother = \"x\"\n\n[T]\r\nK=3"},
        {"replace last line without end", "[S]\r\nK=1", "S", "22", "[S]\r\nK=22"},
        {"append at end of section", "[S]\r\nA=1\r\n\r\n; about T\r\n[T]\r\n", "S", "v",
         "[S]\r\nA=1\r\nK=v\r\n\r\n; about T\r\n[T]\r\n"},
        {"append after unterminated line", "[S]\r\nA=1", "S", "v", "[S]\r\nA=1\r\nK=v\r\n"},
        {"new section at end", "[A]\nX=1", "B", "v", "[A]\nX=1\r\n[B]\r\nK=v\r\n"},
        {"first of twin sections", "[S]\r\n[S]\r\nK=1\r\n", "S", "v", "[S]\r\nK=v\r\n[S]\r\nK=1\r\n"},
        {"line breaks become blanks", "", "S", "a\r\n[HEAD]\nMODEL=X", "[S]\r\nK=a  [HEAD] MODEL=X\r\n"},
        {"after a byte-order mark", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "2", "\xEF\xBB\xBF[S]\r\nK=2\r\n"},
        {"new section after a bare mark", "\xEF\xBB\xBF", "S", "v", "\xEF\xBB\xBF[S]\r\nK=v\r\n"},
        {"CR line ends", "[S]\rA=1\r[T]\rK=0\r", "S", "v", "[S]\rA=1\rK=v\r\n[T]\rK=0\r"},
        {"after a lone CR at the end", "[S]\r\nA=1\r", "S", "v", "[S]\r\nA=1\rK=v\r\n"},
        {"line of the name alone is the key", "[S]\r\n k \r\nK=1\r\n", "S", "v", "[S]\r\nK=v\r\nK=1\r\n"},
        {"unclosed bracket is no section", "[S]\r\n[T\r\nA=1\r\n", "S", "v", "[S]\r\n[T\r\nA=1\r\nK=v\r\n"},
        {"blanks around the query's names", "[S]\r\nK=1\r\n", " S\t", "2", "[S]\r\nK=2\r\n"},
    };
    for (const auto& c : cases) {
        CIniFile ini(c.before);
        ini.SetString(c.section, "K", c.value);
        EXPECT_EQ(ini.GetText(), c.after) << c.name;
        // A reader finds what was written, not an older key or section it meets first.
        if (std::string_view(c.value).find_first_of("\r\n") == std::string_view::npos) {
            EXPECT_EQ(ini.GetString(c.section, " K ", "<none>", 255), c.value) << c.name;
        }
    }
}

TEST(IniFile, DefaultLosesItsTrailingBlanksButAValueKeepsItsQuotedOnes) {
    const CIniFile ini("[S]\r\nK=\"a \"\r\n");
    EXPECT_EQ(ini.GetString("S", "missing", " d \t  ", 255), " d \t");
    EXPECT_EQ(ini.GetString("S", "K", "d", 255), "a ");
}

TEST(IniFile, FileFunctionsCreateAndRefuseToReplaceUnreadableFiles) {
    CTempFolder dir;
    const std::string path = dir / "a.ini";
    EXPECT_EQ(GetIniString(path, "S", "K", "def", 255), "def");
    ASSERT_EQ(WriteIniString(path, "S", "K", "1"), WriteFileResult::kOk);
    ASSERT_EQ(WriteIniString(path, "S", "L", "2"), WriteFileResult::kOk);
    ASSERT_EQ(WriteIniString(path, "s", "k", "3"), WriteFileResult::kOk);
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=3\r\nL=2\r\n");
    EXPECT_EQ(WriteIniString(dir.Path(), "S", "K", "1"), WriteFileResult::kWriteFailed);
    // A key written through a link to a file not made yet makes it there; a link to a folder not there
    // is refused as a whole-file write refuses it. Both links stay.
    ASSERT_EQ(symlink((dir / "made.ini").c_str(), (dir / "link.ini").c_str()), 0);
    ASSERT_EQ(symlink((dir / "gone/a.ini").c_str(), (dir / "gone.ini").c_str()), 0);
    EXPECT_EQ(WriteIniString(dir / "link.ini", "S", "K", "1"), WriteFileResult::kOk);
    EXPECT_EQ(WriteIniString(dir / "gone.ini", "S", "K", "1"), WriteFileResult::kLinkToMissingFolder);
    EXPECT_EQ(ReadBytes(dir / "made.ini"), "[S]\r\nK=1\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "gone.ini"));
}
