// The main dialog against the simulated device: connection states, transfers, commands and closing.
#include "ui/main/vort_dlg.h"

#include <QComboBox>
#include <QProgressBar>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>

#include "support/request_list.h"
#include "support/sim_connection.h"
#include "support/scaled_timing.h"
#include "model/device/device_type.h"
#include "model/set/par_type_v.h"
#include "platform/profile.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/common/language.h"
#include "ui/common/static_buffer.h"
#include "ui/app/signal_watcher.h"
#include "ui/app/vort_app.h"
#include "ui/framework/file_dialog.h"
#include "ui/framework/popup_menu.h"
#include "ui/controls/meter.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/main/com_setting_dialog.h"
#include "ui/main/main_dialog_support.h"
#include "ui/ui_test_support.h"

namespace {
using namespace std::chrono_literals;

const std::string kFailed = "Communication is Failed,Please retry.";

class MainDialogDeviceTest : public MainDialogDeviceFixture {};

// What UpdateControls makes of one state: the enabled commands (those that replace the file side as one)
// and the visible status and progress.
struct Controls {
    bool upload, download, compare, language, fileCommands, statusShown, progressShown;
    bool operator==(const Controls&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Controls& c) {
    return out << c.upload << c.download << c.compare << c.language << c.fileCommands << c.statusShown
               << c.progressShown;
}
Controls ControlsOf(CVORTDlg& dialog) {
    return {dialog.IsDlgItemEnabled(CVORTDlg::kUpload),
            dialog.IsDlgItemEnabled(CVORTDlg::kDownload),
            dialog.IsDlgItemEnabled(CVORTDlg::kCompare),
            dialog.IsDlgItemEnabled(CVORTDlg::kLanguage),
            dialog.IsDlgItemEnabled(CVORTDlg::kOpenFile) && dialog.IsDlgItemEnabled(CVORTDlg::kSelect) &&
                dialog.IsDlgItemEnabled(CVORTDlg::kConnect),
            dialog.IsDlgItemShown(CVORTDlg::kStatusText),
            dialog.IsDlgItemShown(CVORTDlg::kProgress)};
}
}  // namespace

TEST_F(MainDialogDeviceTest, TheStatesFollowThePollAndDecideWhatTheUserMayDo) {
    CProfiledSim device("K9TS");
    CGate gate(device.sim);
    StaticBuffer().PutParameterSet(DefaultSet(2));
    CVORTDlg dialog;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(WaitForState(dialog, CVORTDlg::kStateOffline));
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kStatusText), "Currently offline");
        EXPECT_EQ(ControlsOf(dialog), (Controls{false, false, false, true, true, true, false}));

        ASSERT_TRUE(ConnectOnline(dialog));
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kConnect), "Disconnect");
        // Identifying the device is the searching state; its text stays behind, hidden.
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kStatusText), "Searching device...");
        EXPECT_EQ(ControlsOf(dialog), (Controls{true, false, true, false, true, false, false}));
        Click(dialog, CVORTDlg::kUnlock);
        EXPECT_EQ(ControlsOf(dialog), (Controls{true, true, true, false, true, false, false}));

        // Held at the device, the upload stays busy for as long as the test needs.
        gate.Close();
        Click(dialog, CVORTDlg::kUpload);
        EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateBusy);
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kStatusText), "Uploading");
        EXPECT_EQ(ControlsOf(dialog), (Controls{false, false, false, false, false, true, true}));
        gate.Open();

        ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); }));
        // The thermocouple device's set replaced the RTD file side.
        EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), 1);
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kModelName), CDeviceType::GetModelName(1));
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kStatusText), "Please wait...");
        ASSERT_TRUE(WaitForState(dialog, CVORTDlg::kStateOnline));

        // Disconnect takes the device's commands away at once, not with the next timer tick.
        Click(dialog, CVORTDlg::kConnect);
        EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateOffline);
        EXPECT_FALSE(dialog.IsDlgItemEnabled(CVORTDlg::kUpload));
        EXPECT_FALSE(dialog.IsDlgItemEnabled(CVORTDlg::kDownload));
        ASSERT_TRUE(WaitForState(dialog, CVORTDlg::kStateOffline));
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kStatusText), "Currently offline");
        EXPECT_FALSE(dialog.GetModbus().IsConnected());
    });
}

TEST_F(MainDialogDeviceTest, ATransferLeavesTheFileSideReadableButReadOnlyAndGivesTheFocusBack) {
    CProfiledSim device("K9RS");
    CGate gate(device.sim);
    StaticBuffer().PutParameterSet(DefaultSet(2));
    StaticBuffer().fileGroup = kGroupTable;
    CVORTDlg dialog;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        CInputSettingPage& page = dialog.GetFilePage();
        CParameterListCtrl& list = page.GetList();
        int editable = -1;
        for (int row = 0; row < list.GetList()->GetItemCount() && editable < 0; ++row) {
            const auto code = static_cast<int32_t>(list.GetList()->GetItemData(row));
            const int32_t kind = dialog.GetFileSideSet()->GetParamState(code);
            if (kind == kParText || kind == kParChoice) editable = row;
        }
        ASSERT_GE(editable, 0);
        QWidget* upload = dialog.GetDlgItem(CVORTDlg::kUpload);
        // Where the user goes during the transfer is where the focus stays; else it returns to Upload.
        const struct {
            const char* label;
            QWidget* movedTo;
            QWidget* focusAfter;
        } cases[] = {{"left alone", nullptr, upload}, {"moved to the list", list.GetList(), list.GetList()}};
        for (const auto& c : cases) {
            dialog.GetWindow()->activateWindow();
            upload->setFocus();
            gate.Close();
            Click(dialog, CVORTDlg::kUpload);
            ASSERT_EQ(dialog.GetState(), CVORTDlg::kStateBusy) << c.label;
            EXPECT_TRUE(list.GetList()->isEnabled()) << c.label;
            EXPECT_TRUE(dialog.IsDlgItemEnabled(CVORTDlg::kFileTab)) << c.label;
            EXPECT_FALSE(page.IsDlgItemEnabled(CInputSettingPage::kTableButton1)) << c.label;
            list.BeginEdit(editable);
            EXPECT_FALSE(list.GetEditor().IsEditing()) << c.label;
            if (c.movedTo) c.movedTo->setFocus();
            gate.Open();
            ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); })) << c.label;
            ASSERT_TRUE(WaitForState(dialog, CVORTDlg::kStateOnline)) << c.label;
            EXPECT_EQ(dialog.GetWindow()->focusWidget(), c.focusAfter) << c.label;
            EXPECT_TRUE(page.IsDlgItemEnabled(CInputSettingPage::kTableButton1)) << c.label;
            list.BeginEdit(editable);
            EXPECT_TRUE(list.GetEditor().IsEditing()) << c.label;
            list.CancelEdit();
        }
    });
}

TEST_F(MainDialogDeviceTest, AFailedUploadIsReportedOnceAndKeepsTheFileSide) {
    CProfiledSim device("K9RS");
    StaticBuffer().PutParameterSet(DefaultSet(7));
    CVORTDlg dialog;
    CMessageBoxRecorder boxes;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        const CParBase* before = dialog.GetFileSideSet();
        device.sim.InjectFaultFrom(device.sim.GetRequestCount(), SimFault::Make(ESimFault::Exception));
        Click(dialog, CVORTDlg::kUpload);
        ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); }));
        // The general text, then what failed.
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_TRUE(boxes.texts[0].starts_with(kFailed + "\n\n")) << boxes.texts[0];
        EXPECT_NE(boxes.texts[0].find("reason=receive exception"), std::string::npos) << boxes.texts[0];
        EXPECT_EQ(dialog.GetFileSideSet(), before);
        EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), 7);
        // The device stays silent: the status no longer says "Please wait..." but that it is searched for.
        EXPECT_TRUE(PumpUntil(
            [&] { return dialog.GetDlgItemText(CVORTDlg::kStatusText) == LoadString(kStrSearching); }));
        EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateSearching);
        // The device answers again: the poll finds it.
        device.sim.ClearFaults();
        EXPECT_TRUE(WaitForState(dialog, CVORTDlg::kStateOnline));
        EXPECT_EQ(boxes.texts.size(), 1u);
    });
}

TEST_F(MainDialogDeviceTest, DownloadAndCompareNeedACompatibleDevice) {
    struct Case {
        int fileType;
        const char* deviceCode;
        int button;
        std::optional<std::string> refusal;
    } cases[] = {
        {6, "K9U5", CVORTDlg::kDownload, std::nullopt},
        {2, "K9TS", CVORTDlg::kDownload, "The settings of a different device cannot be downloaded."},
        {6, "K9U5", CVORTDlg::kCompare, "The settings of a different device cannot be compared."},
    };
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.fileType) + " " + c.deviceCode;
        CProfiledSim device(c.deviceCode);
        StaticBuffer().PutParameterSet(DefaultSet(c.fileType));
        CVORTDlg dialog;
        CMessageBoxRecorder boxes;
        RunModalSettled(dialog, [&] {
            ASSERT_TRUE(ConnectOnline(dialog)) << label;
            Click(dialog, CVORTDlg::kUnlock);
            Click(dialog, c.button);
            if (c.refusal) {
                EXPECT_EQ(boxes.texts, std::vector<std::string>{*c.refusal}) << label;
                EXPECT_EQ(boxes.types, std::vector<unsigned>{MB_ICONERROR}) << label;
                EXPECT_FALSE(dialog.HasWorkThread()) << label;
                EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateOnline) << label;
                return;
            }
            EXPECT_TRUE(dialog.HasWorkThread()) << label;
            EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kStatusText), "Downloading") << label;
            ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); })) << label;
            EXPECT_TRUE(boxes.texts.empty()) << label;
            // Download leaves the file side as it was.
            EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), c.fileType) << label;
            EXPECT_TRUE(WaitForState(dialog, CVORTDlg::kStateOnline)) << label;
        });
    }
}

TEST_F(MainDialogDeviceTest, ADownloadOfAValueTheUserCouldNotTypeSaysWhichAndSendsNothing) {
    CProfiledSim device("K9RS");
    std::unique_ptr<CParBase> file = DefaultSet(2);
    // Files load unchecked: an output low limit of 0 mA stands in the set as a file gave it.
    file->SetValueFromString(103, "0.0", false);
    std::string refusal;
    try {
        file->CheckValues();
    } catch (const std::exception& refused) {
        refusal = refused.what();
    }
    ASSERT_FALSE(refusal.empty());
    StaticBuffer().PutParameterSet(std::move(file));
    CVORTDlg dialog;
    CMessageBoxRecorder boxes;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        Click(dialog, CVORTDlg::kUnlock);
        const std::size_t writesBefore = ModbusWrites(device.sim).size();
        Click(dialog, CVORTDlg::kDownload);
        EXPECT_EQ(boxes.texts, std::vector<std::string>{refusal});
        EXPECT_FALSE(dialog.HasWorkThread());
        EXPECT_EQ(ModbusWrites(device.sim).size(), writesBefore);
        EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateOnline);
    });
}

TEST_F(MainDialogDeviceTest, ClosingWhileTheDeviceIsSilentEndsAtOnce) {
    CProfiledSim device("K9RS");
    device.sim.StopAnsweringAfter(0);
    StaticBuffer().PutParameterSet(DefaultSet(5));
    CVORTDlg dialog;
    long long closingMs = -1;
    const int result = RunModalSettled(dialog, [&] {
        Click(dialog, CVORTDlg::kConnect);
        // A poll waits for the silent device's reply.
        ASSERT_TRUE(PumpUntil([&] { return device.sim.GetRequestCount() > 0; }));
        const Stopwatch watch;
        dialog.GetWindow()->close();
        closingMs = watch.Ms();
    });
    EXPECT_EQ(result, 0);
    EXPECT_LT(closingMs, 500);
    EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -1), 5);
    EXPECT_EQ(dialog.GetFileSideSet(), nullptr);
}

TEST_F(MainDialogDeviceTest, ClosingDuringADownloadWaitsForItsEnd) {
    CProfiledSim device("K9RS");
    CGate gate(device.sim);
    StaticBuffer().PutParameterSet(DefaultSet(2));
    CVORTDlg dialog;
    bool closedEarly = true;
    const int result = RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        Click(dialog, CVORTDlg::kUnlock);
        gate.Close();
        Click(dialog, CVORTDlg::kDownload);
        ASSERT_TRUE(dialog.HasWorkThread());
        dialog.GetWindow()->close();
        closedEarly = !dialog.GetWindow()->isVisible();
        EXPECT_TRUE(dialog.IsClosePending());
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kStatusText), "Please wait...");
        EXPECT_TRUE(dialog.IsDlgItemShown(CVORTDlg::kStatusText));
        EXPECT_FALSE(dialog.IsDlgItemShown(CVORTDlg::kProgress));
        const size_t held = device.sim.GetRequestCount();
        gate.Open();
        ASSERT_TRUE(PumpUntil([&] { return !dialog.IsWindow() || !dialog.GetWindow()->isVisible(); }, 60s));
        // The download ran to its end before the window went.
        EXPECT_GT(device.sim.GetRequestCount(), held + 5);
    });
    EXPECT_FALSE(closedEarly);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(GetProfileInt("Settings", "DeviceId", -1), 2);
}

// A reset the device refuses is no success, and a sequence that fails once the device may be adjusting
// ends the adjustment mode, or says that it could not.
TEST_F(MainDialogDeviceTest, InitializeSendsItsSequenceOnlyWhenConfirmedAndClosesThePortItOpened) {
    const std::string notEnded = "\n" + LoadString(kStrAdjustmentNotEnded);
    struct Case {
        const char* label;
        int answer;
        bool connect;
        size_t from, to;  // the requests of the sequence that meet `fault`; none when `from` is kForever
        SimFault fault;
        std::vector<std::string> lines;
        std::string lastMessage;
        const char* mode;  // item 1 of group 1 afterwards; not looked at when null
    } cases[] = {
        {"no", IDNO, false, CSimDevice::kForever, 0, {}, {}, "", nullptr},
        {"yes",
         IDYES,
         false,
         CSimDevice::kForever,
         0,
         {},
         {"G01", "I01", "D1", "G99", "I03", "D99"},
         "Initilize completed! Please turn off and turn on the device, then you must adjust factory "
         "settings.",
         nullptr},
        {"silent",
         IDYES,
         false,
         0,
         CSimDevice::kForever,
         SimFault::Silence(),
         {"G01"},
         "Receive command response timeout.",
         nullptr},
        {"reset refused",
         IDYES,
         false,
         5,
         5,
         SimFault::Exception(0),
         {"G01", "I01", "D1", "G99", "I03", "D99", "G01", "I01", "D0"},
         "The device refused the command D99.",
         "0"},
        {"silent once adjusting",
         IDYES,
         false,
         3,
         CSimDevice::kForever,
         SimFault::Silence(),
         {"G01", "I01", "D1", "G99", "G01"},
         "Receive command response timeout." + notEnded,
         "1"},
        {"port held", IDYES, true, CSimDevice::kForever, 0, {}, {}, "can not be opened.", nullptr},
    };
    for (const Case& c : cases) {
        CProfiledSim device("K9RS");
        CVORTDlg dialog;
        CMessageBoxRecorder boxes(c.answer);
        RunModalSettled(dialog, [&] {
            if (c.connect) {
                ASSERT_TRUE(ConnectOnline(dialog)) << c.label;
            }
            const size_t before = device.sim.GetRequestCount();
            if (c.from != CSimDevice::kForever) {
                device.sim.InjectFault(c.fault, before + c.from,
                                       c.to == CSimDevice::kForever ? c.to : before + c.to);
            }
            Click(dialog, CVORTDlg::kInitialize);
            EXPECT_EQ(AsciiLines(device.sim, before), c.lines) << c.label;
            ASSERT_FALSE(boxes.texts.empty()) << c.label;
            EXPECT_EQ(boxes.texts.front().rfind("Initialize all device settings", 0), 0u) << c.label;
            if (!c.lastMessage.empty()) {
                EXPECT_NE(boxes.texts.back().find(c.lastMessage), std::string::npos) << c.label;
            } else {
                EXPECT_EQ(boxes.texts.size(), 1u) << c.label;
            }
            EXPECT_FALSE(dialog.GetComm().IsPortOpen()) << c.label;
            EXPECT_FALSE(dialog.GetComm().GetSerial().IsOpen()) << c.label;
        });
        if (c.mode) {
            EXPECT_EQ(device.sim.GetItem(1, CCommInterface::kItemOperatingMode), c.mode) << c.label;
        }
    }
}

TEST_F(MainDialogDeviceTest, OpenFileTakesOnlyAFileOfAKnownModel) {
    const std::string folder = m_profile.Directory();
    std::ofstream(folder + "/headless.cfg") << "[INPUT]\r\nTYPE=1\r\n";
    DefaultSet(7)->SaveToFile(folder + "/res.cfg");
    std::string opened;
    CFileDialog::SetHook([&](const CFileDialog::Request& request) -> std::optional<std::string> {
        EXPECT_TRUE(request.open);
        EXPECT_EQ(request.defaultExtension, "cfg");
        return opened;
    });
    StaticBuffer().PutParameterSet(DefaultSet(2));
    CVORTDlg dialog;
    CMessageBoxRecorder boxes;
    RunModalSettled(dialog, [&] {
        const CParBase* before = dialog.GetFileSideSet();
        opened = folder + "/headless.cfg";
        Click(dialog, CVORTDlg::kOpenFile);
        EXPECT_EQ(boxes.texts, (std::vector<std::string>{"This parameter file is not match this model.",
                                                         "Load parameter file failed."}));
        EXPECT_EQ(dialog.GetFileSideSet(), before);

        boxes.texts.clear();
        opened = folder + "/missing.cfg";
        Click(dialog, CVORTDlg::kOpenFile);
        EXPECT_EQ(boxes.texts, (std::vector<std::string>{LoadString(kStrParameterOpenFailed),
                                                         "Load parameter file failed."}));
        EXPECT_EQ(dialog.GetFileSideSet(), before);

        boxes.texts.clear();
        opened = folder + "/res.cfg";
        Click(dialog, CVORTDlg::kOpenFile);
        EXPECT_TRUE(boxes.texts.empty());
        EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), 7);
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kModelName), "K9U(Res)");
    });
}

TEST_F(MainDialogDeviceTest, SelectOffersNineModelsAndReplacesTheFileSideOnlyForAnotherOne) {
    std::vector<CPopupMenu::Item> items;
    QPoint at;
    bool rightAlign = false;
    int choice = 0;
    CPopupMenu::SetHook([&](const CPopupMenu& menu, QPoint point, bool right) {
        items = menu.Items();
        at = point;
        rightAlign = right;
        return choice;
    });
    StaticBuffer().PutParameterSet(DefaultSet(2));
    CVORTDlg dialog;
    RunModalSettled(dialog, [&] {
        const CParBase* before = dialog.GetFileSideSet();
        choice = CVORTDlg::kSelectCommand + 2;
        Click(dialog, CVORTDlg::kSelect);
        ASSERT_EQ(items.size(), 9u);
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(items[i].text, CDeviceType::GetModelName(i + 1));
            EXPECT_EQ(items[i].command, CVORTDlg::kSelectCommand + i + 1);
            EXPECT_EQ(items[i].checked, i + 1 == 2);
        }
        const QWidget* button = dialog.GetDlgItem(CVORTDlg::kSelect);
        EXPECT_TRUE(rightAlign);
        EXPECT_EQ(at, button->mapToGlobal(QPoint(button->width(), 0)));
        // The same model keeps the set and its values.
        EXPECT_EQ(dialog.GetFileSideSet(), before);

        choice = CVORTDlg::kSelectCommand + 9;
        Click(dialog, CVORTDlg::kSelect);
        EXPECT_EQ(dialog.GetFileSideSet()->GetTypeId(), 9);
        EXPECT_EQ(dialog.GetFileSideSet()->GetValueString(0), DefaultSet(9)->GetValueString(0));
        EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kModelName), CDeviceType::GetModelName(9));
    });
}

TEST_F(MainDialogDeviceTest, ConfirmedSettingsReopenThePortOnlyWhileConnected) {
    // Two devices; the first fixed port of the dialog's list leads to the second.
    CProfiledSim first("K9RS");
    CSimDevice second("K9TS");
    const std::string ports = m_profile.Directory() + "/dev";
    std::filesystem::create_directories(ports);
    std::filesystem::create_symlink(second.GetSlavePath(), ports + "/ttyS0");
    CComSettingDialog::SetPortListSource([&] { return CComPortList(ports + "/no-sys", ports); });
    CVORTDlg dialog;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        EXPECT_EQ(dialog.GetModbus().GetSerial().GetSettings().GetPortName(), first.sim.GetSlavePath());
        // Cancel changes nothing.
        {
            CModalAnswer cancel("Communication Setting", [](QWidget* modal) { modal->close(); });
            Click(dialog, CVORTDlg::kSettings);
            EXPECT_EQ(cancel.Answered(), 1);
        }
        EXPECT_EQ(dialog.GetModbus().GetSerial().GetSettings().GetPortName(), first.sim.GetSlavePath());

        const size_t secondBefore = second.GetRequestCount();
        {
            // The stored pseudo-terminal is not in the list: the user picks the first fixed port.
            CModalAnswer ok("Communication Setting", [](QWidget* modal) {
                modal->findChild<QComboBox*>()->setCurrentIndex(0);
                for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                    if (button->text() == "OK") button->click();
            });
            Click(dialog, CVORTDlg::kSettings);
            EXPECT_EQ(ok.Answered(), 1);
        }
        EXPECT_EQ(GetProfileString("ComSettings", "COMPortName", ""), ports + "/ttyS0");
        EXPECT_EQ(dialog.GetModbus().GetSerial().GetSettings().GetPortName(), ports + "/ttyS0");
        // The poll finds the device on the new port.
        EXPECT_TRUE(PumpUntil([&] { return second.GetRequestCount() > secondBefore + 2; }));
        EXPECT_TRUE(WaitForState(dialog, CVORTDlg::kStateOnline));

        Click(dialog, CVORTDlg::kConnect);
        ASSERT_TRUE(WaitForState(dialog, CVORTDlg::kStateOffline));
        WriteProfileString("ComSettings", "COMPortName", first.sim.GetSlavePath());
        {
            CModalAnswer ok("Communication Setting", [](QWidget* modal) {
                for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                    if (button->text() == "OK") button->click();
            });
            Click(dialog, CVORTDlg::kSettings);
        }
        // Disconnected: the choice is stored, nothing is opened.
        EXPECT_FALSE(dialog.GetModbus().GetSerial().IsOpen());
        EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateOffline);
    });
}

TEST_F(MainDialogDeviceTest, OnlineTheMetersAndBothDeviceListsShowWhatThePollRead) {
    struct Case {
        const char* code;
        int32_t rangeLow;
        int32_t rangeHigh;
    } cases[] = {{"K9U4", 3, 4}, {"K9RS", 1, 2}};
    for (const Case& c : cases) {
        CProfiledSim device(c.code);
        CVORTDlg dialog;
        RunModalSettled(dialog, [&] {
            ASSERT_TRUE(ConnectOnline(dialog)) << c.code;
            const CParBase* m = dialog.GetInfoPage().GetList().GetParameterSet();
            ASSERT_NE(m, nullptr) << c.code;
            EXPECT_EQ(dialog.GetBasicPage().GetList().GetParameterSet(), m) << c.code;
            EXPECT_EQ(dialog.GetInfoPage().GetList().GetGroup(), 10) << c.code;
            EXPECT_GT(dialog.GetInfoPage().GetList().GetList()->GetItemCount(), 4) << c.code;
            EXPECT_GT(dialog.GetBasicPage().GetList().GetList()->GetItemCount(), 4) << c.code;
            const CMeter* input = dialog.GetInputMeter().GetMeter();
            const double low = std::stod(m->GetValueText(c.rangeLow));
            const double high = std::stod(m->GetValueText(c.rangeHigh));
            EXPECT_DOUBLE_EQ(input->GetLo(), std::min(low, high)) << c.code;
            EXPECT_DOUBLE_EQ(input->GetHi(), std::max(low, high)) << c.code;
            // The factory output is 4 to 20 mA.
            EXPECT_DOUBLE_EQ(dialog.GetOutputMeter().GetMeter()->GetLo(), 4.0) << c.code;
            EXPECT_DOUBLE_EQ(dialog.GetOutputMeter().GetMeter()->GetHi(), 20.0) << c.code;
            EXPECT_TRUE(dialog.GetInputMeter().GetWindow()->isVisibleTo(dialog.GetWindow())) << c.code;

            // Enter edits in the list that has the focus, and only there, once unlocked.
            CReportListCtrl* info = dialog.GetInfoPage().GetList().GetList();
            int tagRow = -1;
            for (int row = 0; row < info->GetItemCount(); ++row) {
                if (info->GetItemData(row) == CParTypeV::kTag) tagRow = row;
            }
            ASSERT_GE(tagRow, 0) << c.code;
            info->SelectOnly(tagRow);
            dialog.GetWindow()->activateWindow();
            info->setFocus();
            ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == info; })) << c.code;
            QTest::keyClick(info, Qt::Key_Return);
            EXPECT_FALSE(dialog.GetInfoPage().GetList().GetEditor().IsEditing()) << c.code;
            Click(dialog, CVORTDlg::kUnlock);
            info->setFocus();
            ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == info; })) << c.code;
            QTest::keyClick(info, Qt::Key_Return);
            EXPECT_EQ(dialog.GetInfoPage().GetList().GetEditedCode(), CParTypeV::kTag) << c.code;
            EXPECT_TRUE(dialog.GetInfoPage().GetList().GetEditor().IsEditing()) << c.code;
            dialog.GetInfoPage().GetList().CancelEdit();
            dialog.GetFilePage().GetList().GetList()->SelectOnly(0);
            dialog.GetDlgItem(CVORTDlg::kFileTab)->setFocus();
            ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() != info; })) << c.code;
            dialog.DispatchOk();
            // Not on the file tab, whose id a list of the device pages shares.
            EXPECT_FALSE(dialog.GetInfoPage().GetList().GetEditor().IsEditing()) << c.code;
            EXPECT_FALSE(dialog.GetFilePage().GetList().GetEditor().IsEditing()) << c.code;
        });
    }
}

TEST_F(MainDialogDeviceTest, ADeviceThatRefusesToBeIdentifiedKeepsTheDialogSearching) {
    const std::pair<int, const char*> languages[] = {{0, "Searching device..."},
                                                     {1, "デバイスを検索しています..."}};
    for (const auto& [language, status] : languages) {
        SetLanguage(language);
        CProfiledSim device("K9RS");
        device.sim.InjectFaultFrom(0, SimFault::Make(ESimFault::Exception));
        StaticBuffer().PutParameterSet(DefaultSet(2));
        CVORTDlg dialog;
        RunModalSettled(dialog, [&] {
            Click(dialog, CVORTDlg::kConnect);
            ASSERT_TRUE(WaitForState(dialog, CVORTDlg::kStateSearching));
            EXPECT_EQ(dialog.GetDlgItemText(CVORTDlg::kStatusText), status);
            EXPECT_FALSE(dialog.IsDlgItemEnabled(CVORTDlg::kUpload));
            EXPECT_FALSE(dialog.GetInputMeter().GetWindow()->isVisibleTo(dialog.GetWindow()));
            // The status blinks; the picture shows it.
            ASSERT_TRUE(PumpUntil([&] { return dialog.IsDlgItemShown(CVORTDlg::kStatusText); }));
            std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
            dialog.GetWindow()->grab().save(QString(BRIMLOW_SCREENSHOT_DIR "/main_searching_") +
                                            (language == 0 ? "en" : "jpn") + ".png");
        });
    }
}

TEST_F(MainDialogDeviceTest, TheDevicePagesFollowTheTabAndTheUnlockBoxAndEnterSetsTheLoopTestValue) {
    CProfiledSim device("K9TS");
    StaticBuffer().PutParameterSet(DefaultSet(1));
    CVORTDlg dialog;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        QWidget* window = dialog.GetWindow();
        // The user picks "Loop Test".
        dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kDeviceTab)->Bar()->setCurrentIndex(4);
        CAOTestPage& loop = dialog.GetLoopTestPage();
        EXPECT_TRUE(loop.GetWindow()->isVisibleTo(window));
        EXPECT_FALSE(dialog.GetInfoPage().GetWindow()->isVisibleTo(window));
        EXPECT_FALSE(dialog.GetAdjustPage().GetWindow()->isVisibleTo(window));
        // Locked: no calibration and no adjustment; the loop test needs only the device.
        EXPECT_FALSE(dialog.GetAdjustPage().GetWindow()->isEnabled());
        EXPECT_FALSE(dialog.GetCalibPage().GetWindow()->isEnabled());
        EXPECT_TRUE(loop.GetWindow()->isEnabled());
        Click(dialog, CVORTDlg::kUnlock);
        EXPECT_TRUE(dialog.GetAdjustPage().GetWindow()->isEnabled());
        EXPECT_TRUE(dialog.GetCalibPage().GetWindow()->isEnabled());

        Click(loop, CAOTestPage::kFixedOut);
        // The next poll reads the loop-test state, which makes Set usable.
        ASSERT_TRUE(PumpUntil([&] { return loop.IsDlgItemEnabled(CAOTestPage::kSet); }));
        loop.SetDlgItemText(CAOTestPage::kValue, "12");
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QWidget* value = loop.GetDlgItem(CAOTestPage::kValue);
        value->setFocus();
        ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == value; }));
        QTest::keyClick(value, Qt::Key_Return);
        EXPECT_TRUE(PumpUntil([&] { return device.sim.GetRegister(CAOTestPage::kRegOutputHold) == 30000; }));
        Click(loop, CAOTestPage::kNormalOut);
        EXPECT_EQ(device.sim.GetRegister(CAOTestPage::kRegOutputHold), 0);
    });
}

// The write of a fine adjustment disables the sliders for a moment; the keys then go on moving the
// slider the user moved, not into the file side's list.
TEST_F(MainDialogDeviceTest, TheKeysStayWithTheAdjustmentSliderThroughItsWrites) {
    CProfiledSim device("K9TS");
    CVORTDlg dialog;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        Click(dialog, CVORTDlg::kUnlock);
        dialog.GetDlgItemAs<CTabCtrl>(CVORTDlg::kDeviceTab)->Bar()->setCurrentIndex(3);
        auto* slider = dialog.GetAdjustPage().GetDlgItemAs<QSlider>(CAdjustInputPage::kOutputSpan);
        dialog.GetWindow()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.GetWindow()));
        // The sliders come on with the first poll after Unlock.
        ASSERT_TRUE(PumpUntil([&] { return slider->isEnabled(); }));
        slider->setFocus();
        const uint16_t span = device.sim.GetRegister(2067);
        for (uint16_t press = 1; press <= 3; ++press) {
            ASSERT_TRUE(PumpUntil([&] { return slider->isEnabled(); })) << press;
            EXPECT_EQ(QApplication::focusWidget(), slider) << press;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            EXPECT_EQ(device.sim.GetRegister(2067), span + press) << press;
        }
    });
}

TEST_F(MainDialogDeviceTest, TheCalibrationDialogsOpenOnlineAndThePollGoesOnAfterThem) {
    CProfiledSim device("K9TS");
    CVORTDlg dialog;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        const std::pair<int, const char*> buttons[] = {{CVORTDlg::kInputCalib, "入力調整"},
                                                       {CVORTDlg::kOutputCalib, "出力調整"}};
        for (const auto& [button, title] : buttons) {
            CModalAnswer close(title, [](QWidget* modal) { modal->close(); });
            Click(dialog, button);
            EXPECT_EQ(close.Answered(), 1) << title;
            const size_t requests = device.sim.GetRequestCount();
            EXPECT_TRUE(PumpUntil([&] { return device.sim.GetRequestCount() > requests + 2; })) << title;
            EXPECT_EQ(dialog.GetState(), CVORTDlg::kStateOnline) << title;
        }
    });
}

TEST_F(MainDialogDeviceTest, ACompareWhoseDeviceChangedModelMeanwhileIsRefusedWhenItEnds) {
    CProfiledSim device("K9TS");
    StaticBuffer().PutParameterSet(DefaultSet(1));
    CVORTDlg dialog;
    CMessageBoxRecorder boxes;
    RunModalSettled(dialog, [&] {
        ASSERT_TRUE(ConnectOnline(dialog));
        // Live polls do not read the model code again: the dialog still takes the device for a K9TS.
        SetModelCode(device.sim, "K9RS");
        int shown = 0;
        CModalAnswer comparison("Compare Results", [&](QWidget* modal) {
            ++shown;
            modal->close();
        });
        Click(dialog, CVORTDlg::kCompare);
        ASSERT_TRUE(dialog.HasWorkThread());
        ASSERT_TRUE(PumpUntil([&] { return !dialog.HasWorkThread(); }));
        EXPECT_EQ(boxes.texts,
                  std::vector<std::string>{"The settings of a different device cannot be compared."});
        EXPECT_EQ(shown, 0);
    });
}
