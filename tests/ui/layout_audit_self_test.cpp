// The layout audit's own test: a template broken on purpose, one fault at a time, is named by it, and
// its measures of a text's room are those at which the control itself starts to cut the text.
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "res/dialogs/dialog_134_ids.h"
#include "res/dialogs/dialog_135_ids.h"
#include "res/dialogs/dialog_139_ids.h"
#include "ui/common/language.h"
#include "ui/controls/meter.h"
#include "ui/framework/dialog.h"
#include "ui/framework/report_list_ctrl.h"
#include "ui/layout_audit.h"

namespace {
std::string Faults(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults) text += "\n  " + fault;
    return text;
}

bool Names(const std::vector<std::string>& faults, const std::string& fault) {
    for (const std::string& line : faults) {
        if (line.rfind(fault, 0) == 0) return true;
    }
    return false;
}

// The least width of `control` at which the audit finds nothing wrong in `window`, trying narrower
// widths from `from` on.
int LeastPassingWidth(const QWidget& window, QWidget& control, int from) {
    int width = from;
    control.resize(width, control.height());
    EXPECT_TRUE(LayoutFaults(&window).empty()) << Faults(LayoutFaults(&window));
    while (width > 1) {
        control.resize(width - 1, control.height());
        if (!LayoutFaults(&window).empty()) break;
        --width;
    }
    control.resize(width, control.height());
    return width;
}

// Whether `edit` draws its text where a line edit wide enough draws it: a text Qt has to scroll stands
// further left, its first glyph cut.
bool DrawsItsTextUnscrolled(QLineEdit& edit) {
    QWidget host;
    QLineEdit wide(edit.text(), &host);
    wide.setGeometry(0, 0, 4 * edit.width(), edit.height());
    const QImage shown = edit.grab().toImage();
    const QImage whole = wide.grab().toImage();
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width() / 2; ++x) {
            if (shown.pixel(x, y) != whole.pixel(x, y)) return false;
        }
    }
    return true;
}

// Whether the meter cut a line at its last drawing: its tooltip then holds the lines whole.
bool CutsALine(CMeter& meter) {
    meter.grab();
    return !meter.toolTip().isEmpty();
}

class LayoutAuditSelfTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLanguageState();
        SetLanguage(0);
    }
    void TearDown() override { ResetLanguageState(); }
};
}  // namespace

TEST_F(LayoutAuditSelfTest, NamesEachFaultATemplateIsGivenOnPurpose) {
    struct Breakage {
        const char* what;
        unsigned templateId;
        int control;
        std::function<void(CDialog& dialog, QWidget& control)> breakIt;
        std::string fault;
    };
    const Breakage breakages[] = {
        {"a text too wide", 135, Dialog135Ids::kCancelButton,
         [](CDialog&, QWidget& c) { static_cast<QPushButton&>(c).setText("Cancel and keep the port"); },
         "dialog 135: control 2 \"Cancel and keep the port\" needs "},
        {"an entry wider than its box", 135, Dialog135Ids::kPortCombo,
         [](CDialog&, QWidget& c) {
             static_cast<QComboBox&>(c).addItem(
                 "/dev/serial/by-id/usb-Zenta_K9_Configuration_Cable-if00-port0");
         },
         "dialog 135: control 1057 \"/dev/serial/by-id/usb-Zenta_K9_Configuration_Cable-if00-port0\" needs "},
        {"a heading wider than its column", 134, Dialog134Ids::kCompareList,
         [](CDialog&, QWidget& c) { static_cast<CReportListCtrl&>(c).InsertColumn(0, 20, "Parameter"); },
         "dialog 134: control 1004 \"\" column 0 heading \"Parameter\" needs "},
        {"two controls overlapping", 135, Dialog135Ids::kOkButton,
         [](CDialog& d, QWidget& c) {
             c.move(d.GetDlgItem(Dialog135Ids::kCancelButton)->pos() - QPoint(c.width() / 2, 0));
         },
         "dialog 135: control 1 \"OK\" overlaps control 2 \"Cancel\""},
        {"a control out of its group box", 139, Dialog139Ids::kSet,
         [](CDialog&, QWidget& c) { c.move(c.pos() + QPoint(0, c.height())); },
         "dialog 139: control 1067 \"Set\" leaves group box control -1 \"Loop Test Output\""},
        {"pushed past the right edge", 135, Dialog135Ids::kCancelButton,
         [](CDialog& d, QWidget& c) { c.move(d.GetWindow()->width() - c.width() + 1, c.y()); },
         "dialog 135: control 2 \"Cancel\" leaves its window "},
        {"pushed past the bottom edge", 139, Dialog139Ids::kFixedOut,
         [](CDialog& d, QWidget& c) { c.move(c.x(), d.GetWindow()->height() - c.height() + 1); },
         "dialog 139: control 1065 \"Fixed Out\" leaves its window "},
    };
    for (const Breakage& b : breakages) {
        QWidget host;
        CDialog dialog(b.templateId);
        dialog.Create(&host);
        ASSERT_TRUE(LayoutFaults(dialog.GetWindow()).empty())
            << b.what << Faults(LayoutFaults(dialog.GetWindow()));
        b.breakIt(dialog, *dialog.GetDlgItem(b.control));
        const std::vector<std::string> faults = LayoutFaults(dialog.GetWindow());
        EXPECT_TRUE(Names(faults, b.fault)) << b.what << ": expected " << b.fault << Faults(faults);
    }
}

TEST_F(LayoutAuditSelfTest, ALineEditPassesExactlyWhileQtNeedNotScrollItsText) {
    for (const char* text : {"-1800.000", "K9RS-ABCDEFG", "W", "機種名"}) {
        QWidget window;
        window.setObjectName("window");
        window.resize(400, 40);
        QLineEdit edit(text, &window);
        edit.setGeometry(0, 0, 300, 24);
        const int least = LeastPassingWidth(window, edit, 300);
        EXPECT_TRUE(DrawsItsTextUnscrolled(edit)) << text << " at " << least;
        edit.resize(least - 1, edit.height());
        EXPECT_FALSE(DrawsItsTextUnscrolled(edit)) << text << " at " << least - 1;
    }
}

TEST_F(LayoutAuditSelfTest, AMeterPassesExactlyWhileItDrawsItsLinesUncut) {
    // Wider than the widest line the audit always allows for, so that these lines set the limit.
    for (const char* line : {"-12345.6789deg C", "100.0000%, 20.0000mA (fixed)"}) {
        QWidget window;
        window.setObjectName("window");
        window.resize(600, 300);
        CMeter meter(&window);
        meter.setGeometry(0, 0, 500, 200);
        meter.SetScale(0, 100, 20);
        meter.SetTexts(" ", line);
        const int least = LeastPassingWidth(window, meter, 500);
        EXPECT_FALSE(CutsALine(meter)) << line << " at " << least;
        meter.resize(least - 1, meter.height());
        EXPECT_TRUE(CutsALine(meter)) << line << " at " << least - 1;
    }
}

namespace {
// The pixels the current entry of `combo` changes against an empty entry: fewer when the box cuts it.
int Ink(QComboBox& combo) {
    const int entry = combo.currentIndex();
    const QImage shown = combo.grab().toImage();
    combo.setCurrentIndex(0);
    const QImage blank = combo.grab().toImage();
    combo.setCurrentIndex(entry);
    int ink = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) ink += shown.pixel(x, y) != blank.pixel(x, y);
    }
    return ink;
}
}  // namespace

TEST_F(LayoutAuditSelfTest, AComboBoxPassesExactlyWhileItDrawsItsEntryWhole) {
    for (const char* text : {"ttyS15", "/dev/serial/by-id/usb-Zenta_K9-if00-port0", "W", "電流出力"}) {
        QWidget window;
        window.setObjectName("window");
        window.resize(600, 40);
        QComboBox combo(&window);
        combo.addItems({"", text});
        combo.setCurrentIndex(1);
        combo.setGeometry(0, 0, 500, combo.sizeHint().height());
        const int whole = Ink(combo);
        const int least = LeastPassingWidth(window, combo, 500);
        EXPECT_EQ(Ink(combo), whole) << text << " at " << least;
        combo.resize(least - 1, combo.height());
        EXPECT_LT(Ink(combo), whole) << text << " at " << least - 1;
    }
}

namespace {
// The pixels the heading of the first column changes against no heading: fewer when the header cuts it.
int Ink(CReportListCtrl& list) {
    QTableWidgetItem* heading = list.horizontalHeaderItem(0);
    const QString text = heading->text();
    const QImage shown = list.horizontalHeader()->grab().toImage();
    heading->setText(QString());
    const QImage blank = list.horizontalHeader()->grab().toImage();
    heading->setText(text);
    int ink = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < list.GetColumnWidth(0); ++x) ink += shown.pixel(x, y) != blank.pixel(x, y);
    }
    return ink;
}
}  // namespace

TEST_F(LayoutAuditSelfTest, AListPassesExactlyWhileItsHeaderDrawsEachHeadingWhole) {
    for (const char* text : {"Parameter", "W", "パラメータ名"}) {
        QWidget window;
        window.setObjectName("window");
        window.resize(600, 300);
        CReportListCtrl list(&window);
        list.setGeometry(0, 0, 500, 200);
        list.InsertColumn(0, 300, text);
        list.InsertColumn(1, 100, "File");
        const int whole = Ink(list);
        int least = 300;
        while (least > 1) {
            list.SetColumnWidth(0, least - 1);
            if (!LayoutFaults(&window).empty()) break;
            --least;
        }
        list.SetColumnWidth(0, least);
        EXPECT_EQ(Ink(list), whole) << text << " at " << least;
        list.SetColumnWidth(0, least - 1);
        EXPECT_LT(Ink(list), whole) << text << " at " << least - 1;
    }
}
