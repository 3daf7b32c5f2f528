#include "ui/hooks/ui_notifier.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "ui/common/static_buffer.h"
#include "ui/ui_test_support.h"
#include "ui/main/vort_dlg.h"

namespace {
struct Shown {
    std::string text;
    unsigned style;
    std::thread::id thread;
};

void NotifyFromWorker(const std::string& text, unsigned style) {
    std::thread worker([&] { NotifyUser(text, style); });
    worker.join();
}
}  // namespace

TEST(UiNotifier, AWorkersMessageIsShownOnTheUserInterfaceThreadOnlyWhileTheWindowExists) {
    CTemporaryProfile profile;
    std::vector<Shown> shown;
    SetMessageBoxHook([&shown](const std::string& text, unsigned style) {
        shown.push_back({text, style, std::this_thread::get_id()});
        return IDOK;
    });
    {
        CVORTDlg dialog;
        const CUiNotifier notifier(dialog.Poster());
        RunModal(dialog, [&] {
            NotifyFromWorker("Teach refused.", MB_ICONWARNING);
            EXPECT_TRUE(shown.empty()) << "shown on the worker";
            QCoreApplication::sendPostedEvents(dialog.GetWindow(), QEvent::MetaCall);
        });
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "Teach refused.");
        EXPECT_EQ(shown[0].style, unsigned{MB_ICONWARNING});
        EXPECT_EQ(shown[0].thread, std::this_thread::get_id());

        // Between two windows of the dialog nobody is there to read it.
        NotifyFromWorker("Nobody sees this.", MB_ICONERROR);
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(shown.size(), 1u);
    }
    // Without a notifier installed the model's messages go nowhere.
    NotifyFromWorker("Nor this.", MB_OK);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(shown.size(), 1u);
    SetMessageBoxHook(nullptr);
    StaticBuffer().Clear();
}
