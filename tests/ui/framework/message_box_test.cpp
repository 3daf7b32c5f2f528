#include "ui/framework/message_box.h"

#include <gtest/gtest.h>

#include "ui/ui_test_support.h"

// Once nobody may be asked, a box is one line on standard error and gets its close box's answer; no
// window and no test hook sees it.
TEST(MessageBoxTest, WithoutAUserEveryBoxGoesToStandardErrorWithItsCloseBoxsAnswer) {
    const struct {
        unsigned type;
        int answer;
    } cases[] = {{MB_OK, IDOK},
                 {MB_YESNO | MB_ICONQUESTION, IDNO},
                 {MB_YESNOCANCEL, IDCANCEL},
                 {MB_OKCANCEL, IDCANCEL},
                 {MB_ABORTRETRYIGNORE, IDIGNORE}};
    CMessageBoxRecorder boxes;
    SetMessageBoxesToStandardError(true);
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        const int answer = AfxMessageBox("first line\nsecond line", c.type);
        const std::string written = testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer) << c.type;
        EXPECT_EQ(written, "brimlow: first line second line\n") << c.type;
    }
    SetMessageBoxesToStandardError(false);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(AfxMessageBox("asked"), IDOK);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"asked"});
}
