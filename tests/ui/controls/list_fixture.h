#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "model/rtd/par_type_r.h"
#include "ui/controls/parameter_list_ctrl.h"
#include "ui/page_host.h"
#include "ui/pages/device_summary_page.h"

// A summary page in a shown window, its list editable and showing group 0 of an RTD set, and a button
// beside it that can take the focus.
class ListFixture {
public:
    ListFixture() : other(new QPushButton("other", host.Window())) {
        other->move(0, 440);
        other->show();
        host.Place(page);
        List().SetParameterSet(&set, kGroupBasic);
        List().SetReadOnly(false);
        List().Refresh();
    }

    CParameterListCtrl& List() { return page.GetList(); }
    CReportListCtrl& View() { return *page.GetList().GetList(); }
    CEditText& Text() { return *List().GetEditor().GetTextEditor(); }
    CEditComboBox& Choice() { return *List().GetEditor().GetChoiceEditor(); }

    int RowOf(int32_t code) {
        for (int row = 0; row < View().GetItemCount(); ++row) {
            if (View().GetItemData(row) == code) return row;
        }
        ADD_FAILURE() << "no row of code " << code;
        return -1;
    }
    std::string ValueCell(int32_t code) { return View().GetItemText(RowOf(code), 2); }
    void Click(int row, int column) {
        QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, View().GetSubItemRect(row, column).center());
    }
    void ClickValue(int32_t code) { Click(RowOf(code), 2); }
    // Types `text` into the open text editor and ends it with `key`.
    void Type(const char* text, Qt::Key key) {
        QTest::keyClicks(&Text(), text);
        QTest::keyClick(&Text(), key);
    }
    bool Editing() { return Text().isVisible() || Choice().isVisible(); }

    CPageHost host;
    QPushButton* other;
    CParTypeR set;
    CDeviceSummaryPage page;
};
