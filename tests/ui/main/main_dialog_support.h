#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/profile.h"
#include "sim/sim_device.h"
#include "support/scaled_timing.h"
#include "ui/common/language.h"
#include "ui/common/static_buffer.h"
#include "ui/framework/dialog.h"
#include "ui/framework/file_dialog.h"
#include "ui/framework/popup_menu.h"
#include "ui/main/com_setting_dialog.h"
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
        ResetLanguageState();
        ScaledTiming::TearDown();
    }
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

// Holds every request the device receives while closed, so that a transfer stays in flight.
class CGate {
public:
    void Close() {
        std::lock_guard hold(m_mutex);
        m_open = false;
    }
    void Open() {
        {
            std::lock_guard hold(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }
    void Pass() {
        std::unique_lock hold(m_mutex);
        m_changed.wait(hold, [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = true;
};
