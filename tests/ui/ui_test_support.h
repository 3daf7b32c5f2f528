#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "ui/framework/dialog.h"
#include "ui/framework/message_box.h"

// Runs `whileOpen` once the modal loop of `dialog` runs, then returns what DoModal returned. A dialog
// still open after `whileOpen` is ended with kLeftOpen, so a test never hangs; pass `leaveOpen` when the
// dialog's own handlers end it later.
inline constexpr int kLeftOpen = -99;
inline int RunModal(CDialog& dialog, const std::function<void()>& whileOpen, bool leaveOpen = false) {
    QMetaObject::invokeMethod(
        qApp,
        [&dialog, whileOpen, leaveOpen] {
            whileOpen();
            if (!leaveOpen && dialog.IsWindow() && dialog.GetWindow()->isVisible())
                dialog.EndDialog(kLeftOpen);
        },
        Qt::QueuedConnection);
    return dialog.DoModal();
}

// Processes Qt events until `done` holds; false when `timeout` ran out first.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    QTimer tick;
    // Wakes the wait below now and then, so that a condition changed by another thread is seen.
    tick.start(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Collects the message boxes shown while it lives and answers them with `answer`, or with what `answer`
// makes of a box's text.
class CMessageBoxRecorder {
public:
    using Answer = std::function<int(const std::string& text)>;
    explicit CMessageBoxRecorder(int answer = IDOK)
        : CMessageBoxRecorder([answer](const std::string&) { return answer; }) {}
    explicit CMessageBoxRecorder(Answer answer) {
        SetMessageBoxHook([this, answer = std::move(answer)](const std::string& text, unsigned type) {
            texts.push_back(text);
            types.push_back(type);
            return answer(text);
        });
    }
    ~CMessageBoxRecorder() { SetMessageBoxHook(nullptr); }
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    std::vector<std::string> texts;
    std::vector<unsigned> types;
};

// Saves what `window` shows now into the screenshot folder of the build tree.
inline bool SaveScreenshot(QWidget* window, const std::string& name) {
    std::filesystem::create_directories(BRIMLOW_SCREENSHOT_DIR);
    const std::string path = std::string(BRIMLOW_SCREENSHOT_DIR) + "/" + name;
    return window != nullptr && window->grab().save(QString::fromStdString(path));
}

// A fresh, empty user profile for one test.
class CTemporaryProfile {
public:
    CTemporaryProfile() { setenv("XDG_CONFIG_HOME", m_folder.Path().c_str(), 1); }

    const std::string& Directory() const { return m_folder.Path(); }

private:
    CTempFolder m_folder;
};
