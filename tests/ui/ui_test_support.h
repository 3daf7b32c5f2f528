#pragma once

#include <QApplication>
#include <QMetaObject>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/framework/dialog.h"
#include "ui/framework/message_box.h"

// Runs `whileOpen` once the modal loop of `dialog` runs, then returns what DoModal returned. A dialog
// still open after `whileOpen` is ended with kLeftOpen, so a test never hangs; pass `leaveOpen` when the
// dialog's own handlers end it later.
inline constexpr int kLeftOpen = -99;
inline int RunModal(CDialog& dialog, const std::function<void()>& whileOpen, bool leaveOpen = false) {
    QMetaObject::invokeMethod(qApp, [&dialog, whileOpen, leaveOpen] {
        whileOpen();
        if (!leaveOpen && dialog.IsWindow() && dialog.GetWindow()->isVisible()) dialog.EndDialog(kLeftOpen);
    }, Qt::QueuedConnection);
    return dialog.DoModal();
}

// Collects the message boxes shown while it lives and answers them with `answer`.
class CMessageBoxRecorder {
public:
    explicit CMessageBoxRecorder(int answer = IDOK) {
        SetMessageBoxHook([this, answer](const std::string& text, unsigned type) {
            texts.push_back(text);
            types.push_back(type);
            return answer;
        });
    }
    ~CMessageBoxRecorder() { SetMessageBoxHook(nullptr); }
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    std::vector<std::string> texts;
    std::vector<unsigned> types;
};

// A fresh, empty user profile for one test.
class CTemporaryProfile {
public:
    CTemporaryProfile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "brimlow-ui-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        m_directory = made ? made : "";
        setenv("XDG_CONFIG_HOME", m_directory.c_str(), 1);
    }
    ~CTemporaryProfile() {
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }
    CTemporaryProfile(const CTemporaryProfile&) = delete;
    CTemporaryProfile& operator=(const CTemporaryProfile&) = delete;

    const std::string& Directory() const { return m_directory; }

private:
    std::string m_directory;
};
