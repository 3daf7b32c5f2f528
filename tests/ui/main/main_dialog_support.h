#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "model/device/device_type.h"
#include "model/device/output_hold.h"
#include "platform/profile.h"
#include "sim/sim_device.h"
#include "support/scaled_timing.h"
#include "ui/common/language.h"
#include "ui/common/static_buffer.h"
#include "ui/framework/dialog.h"
#include "ui/framework/file_dialog.h"
#include "ui/framework/popup_menu.h"
#include "ui/main/com_setting_dialog.h"
#include "ui/main/vort_dlg.h"
#include "ui/ui_test_support.h"

// What a test of the whole main dialog starts and ends with: scaled pauses, the language state of a fresh
// program with the Japanese module at hand, an empty static buffer, and no hooks left behind.
class MainDialogFixture : public ScaledTiming {
protected:
    void SetUp() override {
        ScaledTiming::SetUp();
        ResetLanguageState();
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
        StaticBuffer().Clear();
    }
    void TearDown() override {
        StaticBuffer().Clear();
        CFileDialog::SetHook(nullptr);
        CPopupMenu::SetHook(nullptr);
        CComSettingDialog::SetPortListSource(nullptr);
        SetMessageBoxesToStandardError(false);
        ResetLanguageState();
        ScaledTiming::TearDown();
    }
};

// The main dialog against simulated devices, in English, with a profile of its own.
class MainDialogDeviceFixture : public MainDialogFixture {
protected:
    void SetUp() override {
        MainDialogFixture::SetUp();
        SetLanguage(0);
    }

    static bool WaitForState(const CVORTDlg& dialog, int state) {
        return PumpUntil([&] { return dialog.GetState() == state; });
    }
    static bool ConnectOnline(CVORTDlg& dialog) {
        dialog.GetDlgItemAs<QAbstractButton>(CVORTDlg::kConnect)->click();
        return WaitForState(dialog, CVORTDlg::kStateOnline);
    }

    CTemporaryProfile m_profile;
};

// As RunModal, but `whileOpen` runs from a timer of the dialog's own loop, once the calls its
// initialisation posted have run. Outside the delivery of a posted call, the events that `whileOpen`
// waits for (posted by worker threads at any time) are all delivered by PumpUntil.
inline int RunModalSettled(CDialog& dialog, const std::function<void()>& whileOpen) {
    return RunModal(
        dialog,
        [&dialog, whileOpen] {
            // Not 0: a zero time-out is delivered as a posted call itself.
            QTimer::singleShot(1, qApp, [&dialog, whileOpen] {
                whileOpen();
                if (dialog.IsWindow() && dialog.GetWindow()->isVisible()) dialog.EndDialog(kLeftOpen);
            });
        },
        true);
}

inline void Click(const CDialog& dialog, int id) { dialog.GetDlgItemAs<QAbstractButton>(id)->click(); }

// Runs `answer` on the next modal dialog whose title is `title` once it shows; `answer` must end it.
class CModalAnswer {
public:
    CModalAnswer(std::string title, std::function<void(QWidget*)> answer)
        : m_title(std::move(title)), m_answer(std::move(answer)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->windowTitle().toStdString() != m_title) return;
            m_timer.stop();
            ++m_answered;
            m_answer(modal);
        });
        m_timer.start(10);
    }
    int Answered() const { return m_answered; }

private:
    std::string m_title;
    std::function<void(QWidget*)> m_answer;
    QTimer m_timer;
    int m_answered = 0;
};

// The texts of a dialog window's labels that are not empty.
inline std::vector<std::string> LabelTexts(const QWidget* window) {
    std::vector<std::string> texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) texts.push_back(label->text().toStdString());
    }
    return texts;
}

// A simulated device that the profile names as the COM port.
struct CProfiledSim {
    explicit CProfiledSim(const std::string& modelCode) : sim(modelCode) {
        WriteProfileString("ComSettings", "COMPortName", sim.GetSlavePath());
    }
    CSimDevice sim;
};

// Holds every request a simulated device receives while closed, so that a transfer stays in flight; it
// may close itself behind a request it is told to watch for. Made after the device and gone before it:
// going, it opens and takes its hook off the device, so a failed assertion between Close and Open ends
// the test instead of leaving the device's thread parked.
class CGate {
public:
    using Watch = std::function<bool(const SimRequest&)>;

    explicit CGate(CSimDevice& device, Watch closeBehind = nullptr)
        : m_device(device), m_state(std::make_shared<State>()) {
        m_state->closeBehind = std::move(closeBehind);
        // The device runs a copy of its hook, which keeps the state alive while the gate goes.
        m_device.SetRequestHook([state = m_state](const SimRequest& r) {
            if (state->closeBehind && state->closeBehind(r)) state->Close();
            state->Pass();
        });
    }
    ~CGate() {
        m_device.SetRequestHook(nullptr);
        Open();
    }
    CGate(const CGate&) = delete;
    CGate& operator=(const CGate&) = delete;

    void Close() { m_state->Close(); }
    void Open() { m_state->Open(); }
    // Whether a request is held at the closed gate within `timeout`.
    bool WaitHolding(std::chrono::milliseconds timeout) {
        std::unique_lock hold(m_state->mutex);
        return m_state->changed.wait_for(hold, timeout,
                                         [this] { return !m_state->open && m_state->waiting > 0; });
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        bool open = true;
        int waiting = 0;
        // Runs on the device's thread only.
        Watch closeBehind;

        void Close() {
            std::lock_guard hold(mutex);
            open = false;
        }
        void Open() {
            {
                std::lock_guard hold(mutex);
                open = true;
            }
            changed.notify_all();
        }
        void Pass() {
            std::unique_lock hold(mutex);
            ++waiting;
            changed.notify_all();
            changed.wait(hold, [this] { return open; });
            --waiting;
        }
    };

    CSimDevice& m_device;
    std::shared_ptr<State> m_state;
};

// A write that holds the device's output: the output-hold register set to anything but 0.
inline bool IsHoldWrite(const SimRequest& r) {
    return r.kind == ESimRequestKind::Write && r.start == COutputHold::kRegOutputHold && r.values.at(0) != 0;
}

// How many writes to the output-hold register the device received from request `first` on.
inline std::size_t HoldRegisterWrites(const CSimDevice& sim, std::size_t first = 0) {
    std::size_t writes = 0;
    for (const SimRequest& r : sim.GetRequests())
        writes += r.index >= first && r.kind == ESimRequestKind::Write &&
                  r.start == COutputHold::kRegOutputHold;
    return writes;
}

// A set of the type with its default values.
inline std::unique_ptr<CParBase> DefaultSet(int typeId) {
    CDeviceType registry;
    return registry.SetTypeId(typeId)->Clone();
}
