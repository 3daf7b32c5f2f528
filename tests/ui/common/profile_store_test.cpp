#include "ui/common/profile_store.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "platform/profile.h"
#include "support/as_user.h"
#include "support/temp_folder.h"
#include "ui/app/vort_app.h"
#include "ui/common/language.h"
#include "ui/ui_test_support.h"

// A profile linked to a drive that is not mounted: the start-up says once, in the chosen language, that
// it could not be read; later writes are refused, each saying so, and the link stays.
TEST(ProfileStore, UnreadableProfileIsReportedOnceAndNotWrittenOver) {
    CTemporaryProfile profile;
    ResetLanguageState();
    SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "ja_JP.UTF-8", 1);
    std::filesystem::create_directories(profile.Directory() + "/Orvesk");
    ASSERT_EQ(symlink((profile.Directory() + "/unmounted/brimlow.ini").c_str(), ProfilePath().c_str()), 0);

    CMessageBoxRecorder boxes;
    CVORTApp::InitLanguage();
    ReportUnreadableProfile();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0],
              ProfilePath() +
                  " の設定を読み込めませんでした。既定の設定で起動し、このファイルは変更しません。"
                  "これから変更した設定は、プログラムを終了するまでの間だけ有効です。");
    EXPECT_FALSE(StoreProfileInt("Settings", "DeviceId", 5));
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1], "設定を " + ProfilePath() + " に保存できませんでした。");
    EXPECT_TRUE(std::filesystem::is_symlink(ProfilePath()));
    ResetLanguageState();
}

// A profile the user may not write, or one linked to a drive that is not mounted: the message says that
// the settings were not saved and why, and the file or the link stays as it was. Tried as an ordinary
// user (the superuser may write any file) in a folder open to everybody.
TEST(ProfileStore, RefusedWriteSaysWhyAndLeavesTheProfileAsItWas) {
    ResetLanguageState();
    const std::string old = "[Settings]\r\nDeviceId=3\r\n";
    struct Case {
        const char* name;
        bool link;  // to a folder not there, else a read-only file of the user
        std::string reason;
    } cases[] = {
        {"read-only profile", false,
         " may not be written: it is read-only or belongs to another user. The file was left as it was."},
        {"link to a drive not mounted", true,
         ", whose folder is not there (a drive that is not mounted, or a folder moved or renamed). Nothing "
         "was saved and the link was left as it was."},
    };
    for (const Case& c : cases) {
        CTemporaryProfile profile;
        const std::string folder = profile.Directory() + "/Orvesk";
        const std::string unmounted = profile.Directory() + "/unmounted/brimlow.ini";
        std::filesystem::create_directories(folder);
        for (const std::string& open : {profile.Directory(), folder}) ASSERT_EQ(chmod(open.c_str(), 0777), 0);
        if (c.link) {
            ASSERT_EQ(symlink(unmounted.c_str(), ProfilePath().c_str()), 0);
        } else {
            WriteBytes(ProfilePath(), old);
            ASSERT_EQ(chown(ProfilePath().c_str(), ChildUserId(), static_cast<gid_t>(-1)), 0);
            ASSERT_EQ(chmod(ProfilePath().c_str(), 0444), 0);
        }
        const std::string shown = RunAsUser(kNobodyId, kNobodyId, [] {
            CMessageBoxRecorder boxes;
            std::string text = StoreProfileInt("Settings", "DeviceId", 5) ? "stored" : "";
            for (const std::string& box : boxes.texts) text += "[" + box + "]";
            return text;
        });
        const std::string file = ProfilePath() + (c.link ? " is a link to " + unmounted : "");
        EXPECT_EQ(shown,
                  "[The settings could not be saved in " + ProfilePath() + ".\n" + file + c.reason + "]")
            << c.name;
        EXPECT_EQ(std::filesystem::is_symlink(ProfilePath()), c.link) << c.name;
        EXPECT_EQ(ReadBytes(ProfilePath()), c.link ? "" : old) << c.name;
        EXPECT_EQ(CTempFolder::NamesIn(folder), std::set<std::string>{"brimlow.ini"}) << c.name;
        EXPECT_FALSE(std::filesystem::exists(profile.Directory() + "/unmounted")) << c.name;
    }
}
