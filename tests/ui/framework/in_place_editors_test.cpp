#include "ui/framework/in_place_editors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <string>

#include "ui/page_host.h"

namespace {
// Logs how each showing ended; an ending may hide or reopen the editor, as the parameter list does.
class CLoggingTextEdit : public CInPlaceTextEdit {
public:
    using CInPlaceTextEdit::CInPlaceTextEdit;
    std::string log;

protected:
    void OnAccepted(int navigation) override {
        log += "accept " + std::to_string(navigation) + " " + text().toStdString() + ";";
        // The owner moves the focus while the ending is reported: that is no second ending.
        parentWidget()->setFocus();
    }
    void OnCancelled() override { log += "cancel;"; }
};

class CLoggingCombo : public CInPlaceComboBox {
public:
    using CInPlaceComboBox::CInPlaceComboBox;
    std::string log;

protected:
    void OnAccepted() override { log += "accept " + std::to_string(currentIndex()) + ";"; }
    void OnCancelled() override { log += "cancel;"; }
};

// A window with a place for the editors and a button to take the focus away.
struct EditorWindow {
    EditorWindow() {
        auto* layout = new QVBoxLayout(&window);
        area = new QWidget(&window);
        area->setFocusPolicy(Qt::StrongFocus);
        area->setMinimumSize(200, 80);
        other = new QPushButton("other", &window);
        layout->addWidget(area);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWidget window;
    QWidget* area;
    QPushButton* other;
};
}  // namespace

TEST(InPlaceEditors, TheTextEditorEndsOnceByEachKeyOrByLosingTheFocus) {
    struct Case {
        const char* name;
        int key;
        const char* log;
    } cases[] = {
        {"enter", Qt::Key_Return, "accept 0 12.5;"},
        {"down", Qt::Key_Down, "accept 1 12.5;"},
        {"up", Qt::Key_Up, "accept 2 12.5;"},
        {"escape", Qt::Key_Escape, "cancel;"},
        {"focus lost", 0, "cancel;"},
    };
    for (const Case& c : cases) {
        EditorWindow shown;
        CLoggingTextEdit edit(shown.area);
        edit.Open(QRect(10, 10, 80, 20), "7");
        ASSERT_TRUE(edit.hasFocus()) << c.name;
        EXPECT_EQ(edit.selectedText(), "7") << c.name;
        QTest::keyClicks(&edit, "12.5");
        if (c.key) {
            QTest::keyClick(&edit, Qt::Key(c.key));
        } else {
            shown.other->setFocus();
        }
        EXPECT_EQ(edit.log, c.log) << c.name;
        EXPECT_FALSE(edit.isVisible()) << c.name;
        EXPECT_FALSE(edit.IsOpen()) << c.name;
    }
}

TEST(InPlaceEditors, TheChoiceEditorAcceptsAChoiceAndCancelsADropDownClosedWithoutOne) {
    EditorWindow shown;
    CLoggingCombo combo(shown.area);
    combo.Open(QRect(10, 10, 80, 20), {"a", "b", "c"}, 1);
    EXPECT_EQ(combo.currentIndex(), 1);
    ASSERT_TRUE(combo.view()->isVisible());
    QTest::keyClick(combo.view(), Qt::Key_Down);
    QTest::keyClick(combo.view(), Qt::Key_Return);
    ASSERT_TRUE(PumpUntil([&] { return !combo.log.empty(); }));
    QApplication::processEvents();
    EXPECT_EQ(combo.log, "accept 2;");
    EXPECT_FALSE(combo.isVisible());

    combo.log.clear();
    combo.Open(QRect(10, 10, 80, 20), {"a", "b", "c"}, 0);
    ASSERT_TRUE(combo.view()->isVisible());
    QTest::keyClick(combo.view(), Qt::Key_Escape);
    ASSERT_TRUE(PumpUntil([&] { return !combo.log.empty(); }));
    EXPECT_EQ(combo.log, "cancel;");
    EXPECT_FALSE(combo.isVisible());
}

TEST(InPlaceEditors, AChoiceEditorClosedWithoutAChoiceDoesNotEndItsNextShowing) {
    EditorWindow shown;
    CLoggingCombo combo(shown.area);
    combo.Open(QRect(10, 10, 80, 20), {"a", "b"}, 0);
    combo.hidePopup();
    // Reopened before the closed drop-down is looked at: the new showing stays open.
    combo.Hide();
    combo.Open(QRect(10, 10, 80, 20), {"a", "b"}, 0);
    QApplication::processEvents();
    EXPECT_EQ(combo.log, "");
    EXPECT_TRUE(combo.IsOpen());
}

TEST(InPlaceEditors, ASelectionSetFromCodeFiresNothing) {
    CComboBox combo(nullptr);
    int fired = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&](int) { ++fired; });
    QObject::connect(&combo, &QComboBox::activated, [&](int) { ++fired; });
    combo.AddStrings({"a", "b", "c"});
    combo.SetCurSel(2);
    combo.ResetContent();
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(combo.count(), 0);
}
