#include "ui/common/profile_store.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/profile.h"
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
