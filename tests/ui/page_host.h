#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <string>

#include "ui/common/language.h"
#include "ui/framework/dialog.h"
#include "ui/ui_test_support.h"

// A shown, active window in a chosen language, for child pages built from the program's templates.
class CPageHost {
public:
    explicit CPageHost(int language = 0, QSize size = QSize(420, 480)) {
        ResetLanguageState();
        SetLanguageModuleDirectory(BRIMLOW_MODULE_DIR);
        SetLanguage(language);
        m_window.resize(size);
        m_window.show();
        m_window.activateWindow();
        m_active = QTest::qWaitForWindowActive(&m_window);
    }
    ~CPageHost() { ResetLanguageState(); }
    CPageHost(const CPageHost&) = delete;
    CPageHost& operator=(const CPageHost&) = delete;

    QWidget* Window() { return &m_window; }
    bool IsActive() const { return m_active; }
    // Builds `page` inside the window at `at` and shows it.
    void Place(CDialog& page, QPoint at = QPoint(0, 0)) {
        page.Create(&m_window);
        page.GetWindow()->move(at);
        page.ShowWindow(true);
        QApplication::processEvents();
    }

private:
    CTemporaryProfile m_profile;
    QWidget m_window;
    bool m_active = false;
};
