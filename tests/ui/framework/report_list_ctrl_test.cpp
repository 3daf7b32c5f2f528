#include "ui/framework/report_list_ctrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// A list of `rows` rows under a hidden column 0 and two visible ones, shown in a window of its own.
struct ShownList {
    explicit ShownList(int rows) : list(nullptr) {
        list.resize(240, 120);
        list.SetHeadingsVisible(false);
        list.InsertColumn(0, 0);
        list.InsertColumn(1, 110);
        list.InsertColumn(2, 110);
        for (int row = 0; row < rows; ++row) {
            list.InsertItem(row, "");
            list.SetItemData(row, 1000 + row);
            list.SetItemText(row, 1, "name " + std::to_string(row));
        }
        list.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&list));
    }
    CReportListCtrl list;
};
}  // namespace

TEST(ReportListCtrl, RowsKeepTheirDataAndTextsAsRowsComeAndGo) {
    ShownList shown(3);
    CReportListCtrl& list = shown.list;
    EXPECT_EQ(list.GetColumnWidth(0), 0);
    EXPECT_FALSE(list.horizontalHeader()->isVisible());
    list.InsertColumn(3, 40, "Heading");
    EXPECT_EQ(list.horizontalHeaderItem(3)->text(), "Heading");
    EXPECT_EQ(list.GetItemText(2, 3), "");
    list.InsertItem(99, "appended");
    ASSERT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.GetItemText(3, 0), "appended");
    list.DeleteItem(1);
    list.DeleteItem(7);
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemData(1), 1002);
    EXPECT_EQ(list.GetItemText(1, 1), "name 2");
    EXPECT_EQ(list.GetItemText(9, 1), "");
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetFirstSelected(), -1);
}

TEST(ReportListCtrl, TheFirstSelectedRowIsTheLowestOfSeveral) {
    ShownList shown(5);
    CReportListCtrl& list = shown.list;
    list.selectRow(3);
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.selectRow(1);
    EXPECT_EQ(list.GetFirstSelected(), 1);
    EXPECT_TRUE(list.IsSelected(3));
    list.SelectOnly(4);
    EXPECT_EQ(list.GetFirstSelected(), 4);
    EXPECT_FALSE(list.IsSelected(1));
    EXPECT_EQ(list.currentRow(), 4);
}

TEST(ReportListCtrl, AClickReportsRowAndColumnAndACellBeyondTheRowsReportsNone) {
    ShownList shown(2);
    CReportListCtrl& list = shown.list;
    std::vector<std::pair<int, int>> clicks;
    list.SetClickHandler([&](int row, int column) { clicks.emplace_back(row, column); });
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.GetSubItemRect(1, 2).center());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.GetSubItemRect(0, 1).center());
    EXPECT_TRUE(list.IsSelected(0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 3));
    const std::vector<std::pair<int, int>> expected = {{1, 2}, {0, 1}, {-1, -1}};
    EXPECT_EQ(clicks, expected);
}

TEST(ReportListCtrl, EnsureVisibleBringsARowBelowTheViewIntoIt) {
    ShownList shown(40);
    CReportListCtrl& list = shown.list;
    const auto inView = [&](int row) {
        const QRect cell = list.GetSubItemRect(row, 1);
        return cell.top() >= 0 && cell.bottom() < list.viewport()->height();
    };
    EXPECT_FALSE(inView(30));
    list.EnsureVisible(30);
    EXPECT_TRUE(inView(30));
}

TEST(ReportListCtrl, CellsArePaintedInTheColoursTheCallbackGivesAtPaintTime) {
    ShownList shown(2);
    CReportListCtrl& list = shown.list;
    QColor wanted(0, 0, 200);
    list.SetCellColours([&](int row, int column, QColor& text, QColor& background) {
        if (row != 1 || column != 2) return false;
        text = Qt::black;
        background = wanted;
        return true;
    });
    const QPoint probe = list.GetSubItemRect(1, 2).topLeft() +
                         QPoint(list.GetSubItemRect(1, 2).width() - 4, 3);
    EXPECT_EQ(list.viewport()->grab().toImage().pixelColor(probe), wanted);
    // Read anew at each paint: a new answer shows without telling the list.
    wanted = QColor(200, 0, 0);
    EXPECT_EQ(list.viewport()->grab().toImage().pixelColor(probe), wanted);
}
