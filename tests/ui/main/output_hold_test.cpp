// The device's output hold against simulated devices: whose hold it is, on which device it is released,
// and what every way out of the program does with it.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "model/set/par_type_v.h"
#include "platform/admin_mode.h"
#include "platform/profile.h"
#include "platform/program_path.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "support/request_list.h"
#include "support/temp_folder.h"
#include "support/scaled_timing.h"
#include "ui/app/signal_watcher.h"
#include "ui/app/vort_app.h"
#include "ui/common/language.h"
#include "ui/main/main_dialog_support.h"

namespace {
using namespace std::chrono_literals;

constexpr uint16_t kHold = COutputHold::kRegOutputHold;

void SetSerial(CSimDevice& sim, const std::string& serial) {
    std::vector<uint16_t> regs(CParTypeV::kSerialLength, 0);
    std::copy(serial.begin(), serial.end(), regs.begin());
    sim.SetRegisters(CParTypeV::kRegSerial, regs);
}

// Two conditioners of one model behind one port path, as a technician moves the cable from one to the
// next: the profile names the link, which leads to the first until Swap.
struct CCableSwap {
    CCableSwap(const std::string& folder, const char* model)
        : first(model), second(model), link(folder + "/ttyUSB-conditioner") {
        SetSerial(first, "A0001");
        SetSerial(second, "B0002");
        PointLink(link, first.GetSlavePath());
        WriteProfileString("ComSettings", "COMPortName", link);
    }
    // The first device's line hangs up and the path leads to the second.
    void Swap() {
        PointLink(link, second.GetSlavePath());
        first.HangUp();
    }

    CSimDevice first;
    CSimDevice second;
    std::string link;
};

bool Shown(const CMessageBoxRecorder& boxes, unsigned id) {
    return std::find(boxes.texts.begin(), boxes.texts.end(), LoadString(id)) != boxes.texts.end();
}

bool Closed(const CVORTDlg& dialog) { return !dialog.IsWindow() || !dialog.GetWindow()->isVisible(); }

class OutputHoldTest : public MainDialogDeviceFixture {
protected:
    // A download that holds the output and then is refused every request, so that it fails at once with
    // the output held.
    static void StartFailingDownload(CVORTDlg& dialog, CSimDevice& sim) {
        Click(dialog, CVORTDlg::kUnlock);
        dialog.GetModbus().SetDeviceAllowance(kShortDeviceAllowance);
        sim.SetRequestHook([&sim](const SimRequest& r) {
            if (IsHoldWrite(r)) sim.InjectFaultFrom(r.index + 1, SimFault::Exception(4));
        });
        Click(dialog, CVORTDlg::kDownload);
    }
};
}  // namespace

TEST_F(OutputHoldTest, TheNextDeviceBehindThePortIsLeftAloneAndTheUserIsToldTheFirstMayStillHold) {
    enum class By { kLoopTest, kFailedDownload };
    for (const By by : {By::kLoopTest, By::kFailedDownload}) {
        SCOPED_TRACE(static_cast<int>(by));
        CCableSwap cable(m_profile.Directory(), "K9RS");
        StaticBuffer().PutParameterSet(DefaultSet(2));
        CVORTDlg dialog;
        CMessageBoxRecorder boxes;
        RunModalSettled(dialog, [&] {
            ASSERT_TRUE(ConnectOnline(dialog));
            dialog.GetModbus().SetDeviceAllowance(kShortDeviceAllowance);
            if (by == By::kLoopTest) {
                Click(dialog.GetLoopTestPage(), CAOTestPage::kFixedOut);
            } else {
                StartFailingDownload(dialog, cable.first);
                ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); }, 60s));
            }
            ASSERT_TRUE(dialog.GetOutputHold().IsHeld());
            ASSERT_NE(cable.first.GetRegister(kHold), 0);
            cable.Swap();
            ASSERT_TRUE(PumpUntil([&] { return Shown(boxes, kStrOtherDeviceMayHold); }, 60s));
            EXPECT_TRUE(WaitForState(dialog, CVORTDlg::kStateOnline));
            EXPECT_FALSE(dialog.GetOutputHold().IsHeld());
            // Nothing is held any more that the program could release: the window closes without asking.
            dialog.GetWindow()->close();
            EXPECT_TRUE(Closed(dialog));
        });
        cable.first.SetRequestHook(nullptr);
        EXPECT_EQ(HoldRegisterWrites(cable.second), 0u);
        EXPECT_NE(cable.first.GetRegister(kHold), 0);
        EXPECT_FALSE(Shown(boxes, kStrOutputHoldReleased));
        EXPECT_FALSE(Shown(boxes, kStrLoopTestHoldsOutput));
    }
}

TEST_F(OutputHoldTest, AFailedDownloadSaysTheOutputIsHeldAndReleasesItOnlyOnceTheDeviceAcknowledges) {
    CProfiledSim device("K9RS");
    StaticBuffer().PutParameterSet(DefaultSet(2));
    CVORTDlg dialog;
    bool releasedWhileHeld = false;
    CMessageBoxRecorder boxes([&](const std::string& text) {
        releasedWhileHeld = releasedWhileHeld || (text == LoadString(kStrOutputHoldReleased) &&
                                                  device.sim.GetRegister(kHold) != 0);
        return IDOK;
    });
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        StartFailingDownload(dialog, device.sim);
        ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); }, 60s));
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_TRUE(boxes.texts[0].starts_with("Communication is Failed,Please retry.\n\n"))
            << boxes.texts[0];
        EXPECT_NE(boxes.texts[0].find("still held"), std::string::npos) << boxes.texts[0];
        ASSERT_NE(device.sim.GetRegister(kHold), 0);

        // The device answers again but refuses every attempt of the first release: nothing is said until
        // a release is acknowledged.
        // The device runs a copy of its hook: what it must remember stands outside.
        std::atomic<bool> refused = false;
        device.sim.SetRequestHook([&](const SimRequest& r) {
            if (refused || r.kind != ESimRequestKind::Read || r.start != kHold || r.count != 1) return;
            refused = true;
            device.sim.InjectFault(SimFault::Exception(4), r.index + 1,
                                   r.index + CModbusInterface::kAttempts);
        });
        device.sim.ClearFaults();
        EXPECT_TRUE(PumpUntil([&] { return device.sim.GetRegister(kHold) == 0; }, 30s));
        EXPECT_TRUE(PumpUntil([&] { return boxes.texts.size() == 2; }));
        EXPECT_EQ(boxes.texts.back(), LoadString(kStrOutputHoldReleased));
        EXPECT_FALSE(dialog.GetOutputHold().IsHeld());
    });
    device.sim.SetRequestHook(nullptr);
    EXPECT_FALSE(releasedWhileHeld);
    EXPECT_EQ(std::count(boxes.texts.begin(), boxes.texts.end(), LoadString(kStrOutputHoldReleased)), 1);
}

// Close, Disconnect, another port: each asks about an output held, the program's own or the device's;
// Yes releases, No leaves it to the user, Cancel stays.
TEST_F(OutputHoldTest, EveryWayOffTheDeviceAsksAboutTheHeldOutputFirst) {
    enum class Way { kClose, kDisconnect, kOtherPort };
    const struct Case {
        Way way;
        bool programs;  // held by Fixed Out, else by the device before it was identified
        int answer;
        bool leaves;
        bool released;
    } cases[] = {
        {Way::kClose, true, IDCANCEL, false, false}, {Way::kClose, true, IDNO, true, false},
        {Way::kClose, true, IDYES, true, true},      {Way::kDisconnect, true, IDCANCEL, false, false},
        {Way::kDisconnect, true, IDNO, true, false}, {Way::kDisconnect, true, IDYES, true, true},
        {Way::kClose, false, IDYES, true, true},     {Way::kDisconnect, false, IDNO, true, false},
        {Way::kOtherPort, true, IDYES, true, true},  {Way::kOtherPort, true, IDCANCEL, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.way) << " " << c.programs << " " << c.answer);
        CProfiledSim device("K9TS");
        if (!c.programs) device.sim.SetRegister(kHold, 30000);
        // Another port, the first the settings offer, leads to another device.
        CSimDevice other("K9TS");
        const std::string ports = m_profile.Directory() + "/dev";
        std::filesystem::create_directories(ports);
        PointLink(ports + "/ttyS0", other.GetSlavePath());
        CComSettingDialog::SetPortListSource([&] { return CComPortList(ports + "/no-sys", ports); });
        StaticBuffer().PutParameterSet(DefaultSet(1));
        CVORTDlg dialog;
        CMessageBoxRecorder boxes(c.answer);
        bool left = false;
        RunModalSettled(dialog, [&] {
            ASSERT_TRUE(ConnectOnline(dialog));
            if (c.programs) Click(dialog.GetLoopTestPage(), CAOTestPage::kFixedOut);
            ASSERT_TRUE(PumpUntil([&] { return dialog.GetLoopTestPage().ShowsHeld(); }));
            ASSERT_EQ(dialog.GetOutputHold().IsHeld(), c.programs);
            switch (c.way) {
                case Way::kClose:
                    dialog.GetWindow()->close();
                    left = Closed(dialog);
                    break;
                case Way::kDisconnect:
                    Click(dialog, CVORTDlg::kConnect);
                    left = !dialog.GetModbus().IsConnected();
                    break;
                case Way::kOtherPort: {
                    CModalAnswer ok("Communication Setting", [](QWidget* modal) {
                        modal->findChild<QComboBox*>()->setCurrentIndex(0);
                        for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                            if (button->text() == "OK") button->click();
                    });
                    Click(dialog, CVORTDlg::kSettings);
                    left = dialog.GetModbus().GetSerial().GetSettings().GetPortName() == ports + "/ttyS0";
                    // Initialize opens the port the window is on.
                    EXPECT_EQ(CComSettings().GetPortName(),
                              dialog.GetModbus().GetSerial().GetSettings().GetPortName());
                    break;
                }
            }
            // Left held as the user chose: the program no longer counts it as its own.
            if (left) {
                EXPECT_FALSE(dialog.GetOutputHold().IsHeld());
            }
        });
        const unsigned questions[] = {kStrLoopTestHoldsOutput, kStrLoopTestHoldsOutputDisconnect,
                                      kStrLoopTestHoldsOutputPort};
        const unsigned question = questions[static_cast<int>(c.way)];
        EXPECT_EQ(boxes.texts, std::vector<std::string>{LoadString(question)});
        EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_YESNOCANCEL | MB_ICONQUESTION});
        EXPECT_EQ(left, c.leaves);
        EXPECT_EQ(device.sim.GetRegister(kHold) == 0, c.released);
        EXPECT_EQ(HoldRegisterWrites(other), 0u);
        std::filesystem::remove_all(ports);
    }
}

// An upload only reads: the close asks about the hold the program set while the upload goes on, and
// gives the upload up only when it goes ahead.
TEST_F(OutputHoldTest, ClosingDuringAnUploadAsksFirstAndGivesItUpOnlyWhenTheCloseGoesAhead) {
    for (const int answer : {IDCANCEL, IDYES}) {
        SCOPED_TRACE(answer);
        CProfiledSim device("K9TS");
        StaticBuffer().PutParameterSet(DefaultSet(2));
        CVORTDlg dialog;
        std::optional<CGate> gate;
        bool running = false;
        CMessageBoxRecorder boxes([&](const std::string&) {
            running = dialog.HasWorkThread();
            gate->Open();
            return answer;
        });
        const int result = RunModalSettled(dialog, [&] {
            ASSERT_TRUE(ConnectOnline(dialog));
            Click(dialog.GetLoopTestPage(), CAOTestPage::kFixedOut);
            gate.emplace(device.sim);
            gate->Close();
            Click(dialog, CVORTDlg::kUpload);
            dialog.GetWindow()->close();
            EXPECT_EQ(Closed(dialog), answer == IDYES);
            EXPECT_EQ(dialog.HasWorkThread(), answer != IDYES);
            if (answer == IDCANCEL) {
                EXPECT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); }));
            }
        });
        gate.reset();
        EXPECT_TRUE(running);
        EXPECT_EQ(result, answer == IDYES ? 0 : kLeftOpen);
        EXPECT_EQ(boxes.texts, std::vector<std::string>{LoadString(kStrLoopTestHoldsOutput)});
        EXPECT_EQ(device.sim.GetRegister(kHold) == 0, answer == IDYES);
    }
}

// A download that fails while the close waits for it asks about the hold it left; cancelled, the window
// stays and the poll goes on to release it once the device answers again.
TEST_F(OutputHoldTest, ClosingDuringADownloadThatFailsAsksAboutTheHoldItLeft) {
    CProfiledSim device("K9RS");
    StaticBuffer().PutParameterSet(DefaultSet(2));
    CVORTDlg dialog;
    CMessageBoxRecorder boxes(IDCANCEL);
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        StartFailingDownload(dialog, device.sim);
        dialog.GetWindow()->close();
        EXPECT_TRUE(dialog.IsClosePending());
        ASSERT_TRUE(PumpUntil([&] { return boxes.texts.size() == 2; }, 60s));
        EXPECT_EQ(boxes.texts[1], LoadString(kStrDownloadHoldsOutput));
        // Cancelled: the window stays and the poll goes on, to release the hold once the device answers.
        EXPECT_FALSE(Closed(dialog));
        device.sim.ClearFaults();
        EXPECT_TRUE(PumpUntil([&] { return device.sim.GetRegister(kHold) == 0; }, 30s));
    });
    device.sim.SetRequestHook(nullptr);
}

// Searching for a device that refuses every request: the release fails and says so, and succeeds once
// the device answers.
TEST_F(OutputHoldTest, ClosingWhileSearchingReleasesTheHoldOnceTheDeviceAnswers) {
    CProfiledSim device("K9TS");
    StaticBuffer().PutParameterSet(DefaultSet(1));
    CVORTDlg dialog;
    CMessageBoxRecorder boxes(IDYES);
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        dialog.GetModbus().SetDeviceAllowance(kShortDeviceAllowance);
        Click(dialog.GetLoopTestPage(), CAOTestPage::kFixedOut);
        device.sim.InjectFaultFrom(device.sim.GetRequestCount(), SimFault::Exception(4));
        ASSERT_TRUE(WaitForState(dialog, CVORTDlg::kStateSearching));
        // Refused: the release fails, says so and the window stays.
        dialog.GetWindow()->close();
        EXPECT_FALSE(Closed(dialog));
        ASSERT_EQ(boxes.texts.size(), 2u);
        EXPECT_TRUE(boxes.texts[1].starts_with(LoadString(kStrHoldNotReleased))) << boxes.texts[1];
        device.sim.ClearFaults();
        dialog.GetWindow()->close();
        EXPECT_TRUE(Closed(dialog));
    });
    EXPECT_EQ(boxes.texts.size(), 3u);
    EXPECT_EQ(device.sim.GetRegister(kHold), 0);
}

// Nobody is asked: the program's own hold is released, also while the failed download's message is
// still open; a hold the device had when it was identified stays.
TEST_F(OutputHoldTest, ATerminationSignalReleasesOnlyTheProgramsOwnHold) {
    enum class Held { kLoopTest, kDownload, kFailedDownloadsMessage, kByTheDevice };
    for (const Held held :
         {Held::kLoopTest, Held::kDownload, Held::kFailedDownloadsMessage, Held::kByTheDevice}) {
        SCOPED_TRACE(static_cast<int>(held));
        // Each case's signal sent the messages to standard error for good, as the program's one signal does.
        SetMessageBoxesToStandardError(false);
        CProfiledSim device("K9RS");
        if (held == Held::kByTheDevice) device.sim.SetRegister(kHold, 30000);
        StaticBuffer().PutParameterSet(DefaultSet(2));
        CVORTDlg dialog;
        std::optional<CMessageBoxRecorder> boxes;
        if (held != Held::kFailedDownloadsMessage) boxes.emplace(IDCANCEL);
        const CSignalWatcher watcher([&dialog] { dialog.CloseOnSignal(); });
        std::optional<CGate> gate;
        const int result = RunModalSettled(dialog, [&] {
            ASSERT_TRUE(ConnectOnline(dialog));
            dialog.GetModbus().SetDeviceAllowance(kShortDeviceAllowance);
            switch (held) {
                case Held::kLoopTest: Click(dialog.GetLoopTestPage(), CAOTestPage::kFixedOut); break;
                case Held::kDownload:
                    // The download stops once it has held the output.
                    gate.emplace(device.sim, IsHoldWrite);
                    Click(dialog, CVORTDlg::kUnlock);
                    Click(dialog, CVORTDlg::kDownload);
                    ASSERT_TRUE(gate->WaitHolding(60s));
                    break;
                case Held::kFailedDownloadsMessage: {
                    // The signal comes while the failure is shown; the device answers again by then.
                    CModalAnswer failure("Setrova", [&](QWidget*) {
                        device.sim.ClearFaults();
                        kill(getpid(), SIGTERM);
                    });
                    StartFailingDownload(dialog, device.sim);
                    ASSERT_TRUE(PumpUntil([&] { return failure.Answered() == 1; }, 60s));
                    break;
                }
                case Held::kByTheDevice:
                    ASSERT_TRUE(PumpUntil([&] { return dialog.GetLoopTestPage().ShowsHeld(); }));
                    break;
            }
            ASSERT_NE(device.sim.GetRegister(kHold), 0);
            if (held != Held::kFailedDownloadsMessage) {
                ASSERT_EQ(kill(getpid(), SIGTERM), 0);
            }
            if (gate) gate->Open();
            EXPECT_TRUE(PumpUntil([&] { return Closed(dialog); }, 30s));
        });
        gate.reset();
        device.sim.SetRequestHook(nullptr);
        EXPECT_EQ(result, 0);
        if (boxes) {
            EXPECT_TRUE(boxes->texts.empty());
        }
        EXPECT_EQ(device.sim.GetRegister(kHold) == 0, held != Held::kByTheDevice);
        EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -1), 2);
    }
}

// Whatever is open over the main window closes, and what would have asked is written to standard error.
TEST_F(OutputHoldTest, ASignalClosesAnOpenMenuAndNeverWaitsOnAMessage) {
    enum class Open { kSelectMenu, kProfileNotSaved };
    for (const Open open : {Open::kSelectMenu, Open::kProfileNotSaved}) {
        SCOPED_TRACE(static_cast<int>(open));
        SetMessageBoxesToStandardError(false);
        // No profile can be written where a file stands in for its folder.
        std::filesystem::remove_all(m_profile.Directory() + "/Orvesk");
        if (open == Open::kProfileNotSaved) std::ofstream(m_profile.Directory() + "/Orvesk") << "";
        StaticBuffer().PutParameterSet(DefaultSet(2));
        CVORTDlg dialog;
        const CSignalWatcher watcher([&dialog] { dialog.CloseOnSignal(); });
        // Whatever the signal leaves open fails the test and is closed, so that it ends.
        QTimer stuck;
        stuck.setSingleShot(true);
        QObject::connect(&stuck, &QTimer::timeout, [] {
            ADD_FAILURE() << "left open after the signal";
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        QTimer signal;
        QObject::connect(&signal, &QTimer::timeout, [&] {
            if (open == Open::kSelectMenu && !QApplication::activePopupWidget()) return;
            signal.stop();
            stuck.start(20000);
            kill(getpid(), SIGTERM);
        });
        testing::internal::CaptureStderr();
        const int result = RunModalSettled(dialog, [&] {
            signal.start(10);
            if (open == Open::kSelectMenu) Click(dialog, CVORTDlg::kSelect);
            EXPECT_TRUE(PumpUntil([&] { return Closed(dialog); }));
        });
        const std::string errors = testing::internal::GetCapturedStderr();
        std::filesystem::remove_all(m_profile.Directory() + "/Orvesk");
        EXPECT_EQ(result, 0);
        if (open == Open::kProfileNotSaved) {
            EXPECT_NE(errors.find(ProfilePath()), std::string::npos) << errors;
        }
    }
}

// The language switch's message is up when the signal comes: the program ends instead of showing the
// window again in the language it could not load.
TEST_F(OutputHoldTest, ASignalDuringTheLanguageSwitchsMessageEndsTheProgram) {
    SetLanguageModuleDirectory(m_profile.Directory());
    StaticBuffer().PutParameterSet(DefaultSet(2));
    bool clicked = false;
    bool signalled = false;
    // The window the signal came over: it is still up until the message has returned, and only
    // another one means that the program showed itself again.
    QPointer<QWidget> main;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        const auto* box = qobject_cast<QMessageBox*>(modal);
        if (!signalled && box && box->text() == QLatin1String("Can't load language module")) {
            signalled = true;
            main = box->parentWidget();
            kill(getpid(), SIGTERM);
            return;
        }
        if (signalled && modal && modal != main &&
            modal->windowTitle().toStdString() == CVORTDlg::TitleText()) {
            ADD_FAILURE() << "the main window came back after the signal";
            modal->close();
            return;
        }
        for (QAbstractButton* button :
             modal ? modal->findChildren<QAbstractButton*>() : QList<QAbstractButton*>()) {
            if (!clicked && button->text() == QLatin1String("Japanese") && button->isEnabled()) {
                clicked = true;
                // Posted: the message it brings must not block this timer, which raises the signal.
                QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
                return;
            }
        }
    });
    user.start(10);
    CVORTApp::RunDialogLoop();
    EXPECT_TRUE(signalled);
}

// Two conditioners of one model behind one port: the one behind it is swapped for the next before the
// poll has identified it again. The release names the device it is for, so the next one is never written.
TEST_F(OutputHoldTest, ReleasingAfterASwapLeavesTheNextDeviceOfTheSameModelAlone) {
    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal);
        SetMessageBoxesToStandardError(false);
        CProfiledSim device("K9TS");
        SetSerial(device.sim, "A0001");
        StaticBuffer().PutParameterSet(DefaultSet(1));
        CVORTDlg dialog;
        CMessageBoxRecorder boxes(IDYES);
        const CSignalWatcher watcher([&dialog] { dialog.CloseOnSignal(); });
        std::size_t swapped = 0;
        RunModalSettled(dialog, [&] {
            ASSERT_TRUE(ConnectOnline(dialog));
            Click(dialog.GetLoopTestPage(), CAOTestPage::kFixedOut);
            ASSERT_TRUE(dialog.GetOutputHold().IsHeld());
            // The next device holds nothing; polls read its live values, never who it is.
            swapped = device.sim.GetRequestCount();
            SetSerial(device.sim, "B0002");
            device.sim.SetRegister(kHold, 0);
            if (bySignal) {
                kill(getpid(), SIGTERM);
            } else {
                dialog.GetWindow()->close();
            }
            EXPECT_TRUE(PumpUntil([&] { return Closed(dialog); }));
        });
        EXPECT_EQ(HoldRegisterWrites(device.sim, swapped), 0u);
        if (!bySignal) {
            EXPECT_TRUE(Shown(boxes, kStrOtherDeviceMayHold));
        }
    }
}

// A calibration dialog holds the line for as long as it is open, and Initialize's question stands
// before it is taken: a signal closes either and ends the program, never waiting on the line that the
// user-interface thread holds itself. The input calibration's signal comes with the failure it tells
// before its window shows.
TEST_F(OutputHoldTest, ASignalOverACalibrationDialogOrInitializesQuestionEndsTheProgram) {
    const std::string marker = AdminMarkerPath(ProgramPath());
    std::ofstream(marker) << "";
    for (const int command : {CVORTDlg::kInputCalib, CVORTDlg::kOutputCalib, CVORTDlg::kInitialize}) {
        SCOPED_TRACE(command);
        SetMessageBoxesToStandardError(false);
        CProfiledSim device("K9TS");
        StaticBuffer().PutParameterSet(DefaultSet(1));
        CVORTDlg dialog;
        const CSignalWatcher watcher([&dialog] { dialog.CloseOnSignal(); });
        // The reference voltage is not answered.
        device.sim.SetRequestHook([&sim = device.sim](const SimRequest& r) {
            if (r.kind == ESimRequestKind::Ascii && r.line == "I05")
                sim.InjectFault(SimFault::Silence(), r.index + 1, r.index + 1);
        });
        QTimer signal;
        QObject::connect(&signal, &QTimer::timeout, [&] {
            const QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == dialog.GetWindow()) return;
            signal.stop();
            kill(getpid(), SIGTERM);
        });
        const int result = RunModalSettled(dialog, [&] {
            ASSERT_TRUE(ConnectOnline(dialog));
            signal.start(10);
            Click(dialog, command);
            EXPECT_TRUE(PumpUntil([&] { return Closed(dialog); }));
        });
        device.sim.SetRequestHook(nullptr);
        EXPECT_EQ(result, 0);
    }
    std::filesystem::remove(marker);
    SetAdminMode(false);
}
