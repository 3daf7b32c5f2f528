#include "ui/common/language.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/profile.h"
#include "platform/resource_module.h"
#include "ui/ui_test_support.h"
#include "ui/app/vort_app.h"

namespace {
constexpr unsigned kConnectText = 13000;

class LanguageTest : public testing::Test {
protected:
    void SetUp() override {
        ResetLanguageState();
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
    }
    void TearDown() override { ResetLanguageState(); }

    CTemporaryProfile m_profile;
};
}  // namespace

TEST_F(LanguageTest, StartUpFollowsTheStoredNumberElseTheLocaleAndStoresTheChoice) {
    struct Case {
        const char* lang;
        std::optional<int> stored;
        int row;
        const char* connect;
    } cases[] = {
        {"ja_JP.UTF-8", std::nullopt, 1, "接続"},
        {"C", std::nullopt, 0, "Connect"},
        {"ja_JP.UTF-8", 5, 1, "接続"},
        {"en_US.UTF-8", 5, 0, "Connect"},
        {"ja_JP.UTF-8", -1, 1, "接続"},
        {"ja_JP.UTF-8", 0, 0, "Connect"},
        {"C", 1, 1, "接続"},
    };
    for (const Case& c : cases) {
        ResetLanguageState();
        std::filesystem::remove(ProfilePath());
        setenv("LANG", c.lang, 1);
        if (c.stored) WriteProfileInt("Lang", "Number", *c.stored);
        CMessageBoxRecorder boxes;
        CVORTApp::InitLanguage();
        const std::string label = std::string(c.lang) + " / " + std::to_string(c.stored.value_or(-99));
        EXPECT_EQ(GetLanguage(), c.row) << label;
        EXPECT_EQ(GetProfileInt("Lang", "Number", -7), c.row) << label;
        EXPECT_EQ(GetThreadLocale(), c.row == 1 ? kLocaleJapanese : kLocaleEnglish) << label;
        EXPECT_EQ(LoadString(kConnectText), c.connect) << label;
        EXPECT_TRUE(boxes.texts.empty()) << label;
    }
}

TEST_F(LanguageTest, AModuleThatIsMissingOrOfAnotherVersionIsReportedOnceAndEnglishStays) {
    CTemporaryProfile emptyFolder;
    for (const std::string& folder : {emptyFolder.Directory(), std::string(BRIMLOW_WRONG_MODULE_DIR)}) {
        ResetLanguageState();
        SetLanguageModuleDirectory(folder);
        setenv("LANG", "ja_JP.UTF-8", 1);
        CMessageBoxRecorder boxes;
        CVORTApp::InitLanguage();
        EXPECT_EQ(boxes.texts, std::vector<std::string>{"Can't load language module"}) << folder;
        EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_ICONERROR}) << folder;
        EXPECT_EQ(LoadString(kConnectText), "Connect") << folder;
        EXPECT_EQ(GetLanguage(), 1) << folder;
        EXPECT_EQ(GetProfileInt("Lang", "Number", -7), 1) << folder;
    }
}

TEST_F(LanguageTest, ARowThatDoesNotExistChangesNothingAndRowZeroReleasesTheModule) {
    setenv("LANG", "C", 1);
    SetLanguage(1);
    ASSERT_EQ(LoadString(kConnectText), "接続");
    std::filesystem::remove(ProfilePath());

    SetLanguage(2);
    EXPECT_EQ(GetLanguage(), 1);
    EXPECT_EQ(LoadString(kConnectText), "接続");
    EXPECT_EQ(GetThreadLocale(), kLocaleJapanese);
    EXPECT_FALSE(std::filesystem::exists(ProfilePath()));

    SetLanguage(0);
    EXPECT_EQ(LoadString(kConnectText), "Connect");
    EXPECT_EQ(GetProfileInt("Lang", "Number", -7), 0);
    EXPECT_EQ(GetThreadLocale(), kLocaleEnglish);
}

TEST_F(LanguageTest, NamesOfTheRows) {
    const std::pair<int, const char*> cases[] = {{0, "English"}, {1, "Japanese"}, {2, ""}, {-1, ""}};
    for (const auto& [row, name] : cases) EXPECT_EQ(GetLanguageName(row), name) << row;
}

TEST_F(LanguageTest, AProfileThatCannotBeWrittenIsReportedAndTheLanguageStillChanges) {
    // A file where the company folder should be: the profile cannot be written.
    std::ofstream(m_profile.Directory() + "/Orvesk") << "";
    setenv("LANG", "C", 1);
    const std::pair<int, std::string> cases[] = {
        {1, "設定を " + ProfilePath() + " に保存できませんでした。"},
        {0, "The settings could not be saved in " + ProfilePath() + "."},
    };
    for (const auto& [row, message] : cases) {
        CMessageBoxRecorder boxes;
        SetLanguage(row);
        EXPECT_EQ(boxes.texts, std::vector<std::string>{message}) << row;
        EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_ICONWARNING}) << row;
        EXPECT_EQ(GetLanguage(), row);
    }
}

// Qt's own texts (the standard buttons, the file dialog) follow the language with the program's.
TEST_F(LanguageTest, QtsOwnTextsFollowTheLanguage) {
    const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes").toStdString(); };
    SetLanguage(1);
    EXPECT_NE(yes(), "&Yes");
    SetLanguage(0);
    EXPECT_EQ(yes(), "&Yes");
}
