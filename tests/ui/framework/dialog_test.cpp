#include "ui/framework/dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/resource_module.h"
#include "ui/framework/dialog_font.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/framework/up_down_ctrl.h"
#include "ui/ui_test_support.h"

namespace {
enum : int {
    kButton = 10,
    kOther = 11,
    kEdit = 12,
    kCombo = 13,
    kTab = 14,
    kList = 15,
    kSlider = 16,
    kBuddy = 17,
    kSpin = 18,
    kPlace = 19,
    kDefault = 20,
    kThrow = 21,
    kEndTimer = 99
};

constexpr DialogControl kPlainControls[] = {
    {kButton, ControlKind::PushButton, "Button", 4, 4, 50, 14, 0},
    {kOther, ControlKind::PushButton, "Other", 60, 4, 50, 14, 0},
    {kEdit, ControlKind::Edit, "", 4, 22, 50, 12, 0},
    {kCombo, ControlKind::ComboBox, "", 4, 40, 50, 60, 0},
    {kTab, ControlKind::TabControl, "", 60, 40, 80, 40, 0},
    {kList, ControlKind::ListBox, "", 4, 84, 50, 30, kStyleSingleSel},
    {kSlider, ControlKind::Trackbar, "", 60, 84, 80, 14, kStyleNoTicks},
    {kBuddy, ControlKind::Edit, "", 4, 120, 50, 12, kStyleReadOnly},
    {kSpin, ControlKind::UpDown, "", 0, 0, 10, 12,
     kStyleAutoBuddy | kStyleAlignRight | kStyleSetBuddyInt | kStyleArrowKeys},
    {kPlace, ControlKind::Placeholder, "", 60, 120, 40, 20, 0},
    {kThrow, ControlKind::PushButton, "Throw", 110, 4, 40, 14, 0},
};
constexpr DialogControl kDefaultControls[] = {
    {kEdit, ControlKind::Edit, "", 4, 4, 50, 12, 0},
    {kDefault, ControlKind::DefPushButton, "OK", 4, 20, 50, 14, 0},
    {kButton, ControlKind::PushButton, "Button", 60, 20, 50, 14, 0},
};
constexpr DialogTemplate kTestDialogs[] = {
    {9001, "Plain", 160, 150, kDialogPopup, kPlainControls, std::size(kPlainControls)},
    {9002, "With default", 120, 40, kDialogPopup, kDefaultControls, std::size(kDefaultControls)},
};
const ResourceTables kTestTables{kResourceTablesVersion, nullptr, 0, kTestDialogs, std::size(kTestDialogs)};

// Records what reaches the virtual handlers and the bound ones.
class CProbeDialog : public CDialog {
public:
    explicit CProbeDialog(unsigned id) : CDialog(id) {
        MapClicked(kButton, [this] { log += "button;"; });
        MapClicked(kDefault, [this] { log += "default;"; });
        MapClicked(kThrow, [] { throw std::runtime_error("handler failed"); });
        MapSelChange(kCombo, [this] { log += "combo;"; });
        MapSelChange(kTab, [this] { log += "tab;"; });
        MapSelChange(kList, [this] { log += "list;"; });
        MapScroll(kSlider, [this](int code, int pos) {
            log += "slider " + std::to_string(code) + "@" + std::to_string(pos) + ";";
        });
        MapScroll(kSpin, [this](int code, int pos) {
            log += "spin " + std::to_string(code) + "@" + std::to_string(pos) + ";";
        });
    }
    std::string log;
    int timerTicks = 0;

protected:
    void OnOK() override { log += "ok;"; }
    void OnCancel() override { log += "cancel;"; }
    void OnClose() override { log += "close;"; }
    void OnTimer(int id) override {
        if (id == kEndTimer) {
            EndDialog(0);
            return;
        }
        ++timerTicks;
        if (timerTicks == 2) {
            KillTimer(id);
            SetTimer(kEndTimer, 30);
        }
    }
};

class DialogTest : public testing::Test {
protected:
    void SetUp() override { SetCurrentResourceModule(&m_module); }
    void TearDown() override { SetCurrentResourceModule(nullptr); }

    static void Key(QWidget* target, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    }
    // Press and release, as a short tap of the key.
    static void Tap(QWidget* target, int key) {
        Key(target, key);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }

private:
    CResourceModule m_module{kTestTables, &OwnResourceModule()};
};
}  // namespace

TEST_F(DialogTest, DoModalReturnsTheEndCodeAndTheObjectRunsAgain) {
    CProbeDialog dialog(9001);
    for (int code : {7, 0, static_cast<int>(IDOK)}) {
        QWidget* firstWindow = nullptr;
        EXPECT_EQ(RunModal(dialog,
                           [&] {
                               firstWindow = dialog.GetWindow();
                               ASSERT_NE(dialog.GetDlgItemAs<QPushButton>(kButton), nullptr);
                               dialog.EndDialog(code);
                           }),
                  code);
        EXPECT_FALSE(dialog.IsWindow());
        EXPECT_NE(firstWindow, nullptr);
    }
    dialog.DestroyWindow();
}

TEST_F(DialogTest, EnterEscAndTheCloseBoxReachTheirHandlers) {
    struct Case {
        unsigned dialogId;
        int focus;  // control with the focus, 0 for none
        int key;    // 0: the close box
        const char* log;
    } cases[] = {
        {9001, kButton, Qt::Key_Return, "button;"},
        {9001, kEdit, Qt::Key_Return, "ok;"},
        {9001, kEdit, Qt::Key_Enter, "ok;"},
        {9002, kEdit, Qt::Key_Return, "default;"},
        {9002, kButton, Qt::Key_Return, "button;"},
        {9001, kEdit, Qt::Key_Escape, "cancel;"},
        {9001, 0, 0, "close;"},
    };
    for (const Case& c : cases) {
        CProbeDialog dialog(c.dialogId);
        RunModal(dialog, [&] {
            QWidget* window = dialog.GetWindow();
            if (c.focus) dialog.GetDlgItem(c.focus)->setFocus();
            QApplication::processEvents();
            if (c.key) {
                Key(c.focus ? dialog.GetDlgItem(c.focus) : window, c.key);
            } else {
                window->close();
            }
            EXPECT_TRUE(dialog.IsWindow()) << "the dialog ends only through EndDialog";
        });
        EXPECT_EQ(dialog.log, c.log) << c.dialogId << " key " << c.key;
    }
}

TEST_F(DialogTest, AThrowingHandlerGivesOneMessageBoxAndTheDialogGoesOn) {
    CMessageBoxRecorder boxes;
    CProbeDialog dialog(9001);
    const int result = RunModal(dialog, [&] {
        dialog.GetDlgItemAs<QPushButton>(kThrow)->click();
        EXPECT_TRUE(dialog.IsWindow());
        dialog.GetDlgItemAs<QPushButton>(kButton)->click();
        dialog.EndDialog(3);
    });
    EXPECT_EQ(result, 3);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "handler failed");
    EXPECT_EQ(dialog.log, "button;");
}

TEST_F(DialogTest, SelectionSetByCodeDoesNotNotifyButTheUsersChoiceDoes) {
    CProbeDialog dialog(9001);
    RunModal(dialog, [&] {
        auto* combo = dialog.GetDlgItemAs<QComboBox>(kCombo);
        combo->addItems({"a", "b", "c"});
        auto* tab = dialog.GetDlgItemAs<CTabCtrl>(kTab);
        tab->InsertItem(0, "one");
        tab->InsertItem(1, "two");
        auto* list = dialog.GetDlgItemAs<QListWidget>(kList);
        list->addItems({"x", "y"});

        dialog.SetCurSel(kCombo, 2);
        dialog.SetCurSel(kTab, 1);
        dialog.SetCurSel(kList, 1);
        tab->SetCurSel(0);
        EXPECT_EQ(dialog.log, "");
        EXPECT_EQ(dialog.GetCurSel(kCombo), 2);
        EXPECT_EQ(dialog.GetCurSel(kTab), 0);
        EXPECT_EQ(dialog.GetCurSel(kList), 1);

        Key(combo, Qt::Key_Up);
        tab->Bar()->setCurrentIndex(1);  // what a click on the second tab does
        list->setCurrentRow(0);
        EXPECT_EQ(dialog.log, "combo;tab;list;");
        EXPECT_EQ(dialog.GetCurSel(kCombo), 1);
    });
}

TEST_F(DialogTest, TrackbarAndUpDownReportTheUsersScrolls) {
    CProbeDialog dialog(9001);
    RunModal(dialog, [&] {
        auto* slider = dialog.GetDlgItemAs<QSlider>(kSlider);
        slider->setRange(0, 10);
        slider->setValue(5);
        Tap(slider, Qt::Key_Right);
        EXPECT_EQ(slider->value(), 6);

        auto* spin = dialog.GetDlgItemAs<CUpDownCtrl>(kSpin);
        auto* buddy = dialog.GetDlgItemAs<QLineEdit>(kBuddy);
        ASSERT_EQ(spin->GetBuddy(), buddy);
        spin->SetRange(100, 102);
        buddy->setText("101");
        Key(buddy, Qt::Key_Up);
        Key(buddy, Qt::Key_Up);  // at the upper bound: no move, no report
        EXPECT_EQ(buddy->text(), "102");
        Key(buddy, Qt::Key_Down);
        EXPECT_EQ(buddy->text(), "101");
        EXPECT_EQ(buddy->geometry().right() + 1, spin->geometry().left());
    });
    EXPECT_EQ(dialog.log, "slider 1@6;slider 8@6;spin 4@102;spin 4@101;");
}

TEST_F(DialogTest, TimersTickUntilKilled) {
    CProbeDialog dialog(9001);
    // Killed at its second tick, the timer gets thirty of its periods to tick again before the
    // dialog ends.
    RunModal(
        dialog, [&] { dialog.SetTimer(5, 1); }, true);
    EXPECT_EQ(dialog.timerTicks, 2);
}

TEST_F(DialogTest, CallsPostedFromAnotherThreadRunOnlyWhileTheWindowExists) {
    CProbeDialog dialog(9001);
    std::atomic<int> ran{0};
    CUiCallPoster poster;
    RunModal(dialog, [&] {
        poster = dialog.Poster();
        std::thread worker([&] {
            EXPECT_TRUE(dialog.PostCall([&] { ran += 1; }));
            EXPECT_TRUE(dialog.PostCall([&] { throw std::runtime_error("posted failure"); }));
        });
        worker.join();
        CMessageBoxRecorder boxes;
        while (ran.load() == 0 || boxes.texts.empty()) QApplication::processEvents();
        EXPECT_EQ(boxes.texts, std::vector<std::string>{"posted failure"});
        // Queued now, but the window goes before the queue is worked off.
        EXPECT_TRUE(poster.Post([&] { ran += 10; }));
        dialog.EndDialog(0);
    });
    EXPECT_FALSE(poster.Post([&] { ran += 100; }));
    QApplication::processEvents();
    EXPECT_EQ(ran.load(), 1);
}

TEST_F(DialogTest, ACallStillQueuedWhenAPageIsTakenDownIsDropped) {
    CProbeDialog owner(9001);
    CProbeDialog page(9002);
    int ran = 0;
    RunModal(owner, [&] {
        page.Create(&owner);
        std::thread worker([&] { EXPECT_TRUE(page.PostCall([&] { ++ran; })); });
        worker.join();
        // The page's window outlives DestroyWindow until the event loop deletes it.
        page.DestroyWindow();
        QCoreApplication::sendPostedEvents();
    });
    EXPECT_EQ(ran, 0);
}

TEST_F(DialogTest, ACustomControlTakesThePlaceholdersPlaceAndId) {
    CProbeDialog dialog(9001);
    RunModal(dialog, [&] {
        const QRect place = dialog.GetDlgItem(kPlace)->geometry();
        EXPECT_EQ(place, DialogUnitsToPixels(60, 120, 40, 20));
        auto* custom = new QWidget;
        EXPECT_EQ(dialog.PlaceCustomControl(kPlace, custom), custom);
        EXPECT_EQ(dialog.GetDlgItem(kPlace), custom);
        EXPECT_EQ(custom->parentWidget(), dialog.GetWindow());
        EXPECT_EQ(custom->geometry(), place);
        EXPECT_THROW(dialog.PlaceCustomControl(4242, new QWidget), std::exception);
    });
}

TEST_F(DialogTest, ChildPagesAreBuiltHiddenAndDestroyedIdempotently) {
    CProbeDialog host(9001);
    CProbeDialog page(9002);
    RunModal(host, [&] {
        page.Create(&host);
        ASSERT_TRUE(page.IsWindow());
        EXPECT_EQ(page.GetWindow()->parentWidget(), host.GetWindow());
        EXPECT_TRUE(page.GetWindow()->isHidden());
        page.DestroyWindow();
        page.DestroyWindow();
        EXPECT_FALSE(page.IsWindow());
        EXPECT_EQ(page.GetDlgItem(kEdit), nullptr);
        page.Create(&host);
    });
    // The host's window took the page's window with it.
    EXPECT_FALSE(page.IsWindow());
}
