#include <QHelpEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "model/thermocouple/par_type_t.h"
#include "ui/controls/list_fixture.h"
#include "ui/page_host.h"
#include "ui/pages/device_summary_page.h"

namespace {
constexpr int kName = 1;
constexpr int kValue = 2;

// The tooltip that resting the mouse on a cell brings up; empty when none shows.
std::string ToolTipOver(CReportListCtrl& view, int row, int column) {
    QToolTip::hideText();
    EXPECT_TRUE(PumpUntil([] { return !QToolTip::isVisible(); }));
    const QPoint at = view.GetSubItemRect(row, column).center();
    QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
}

// The width a row's name needs with the list's font and the style's margins on both sides of a cell.
int NeededWidth(const CReportListCtrl& view, int row) {
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    return view.fontMetrics().horizontalAdvance(QString::fromStdString(view.GetItemText(row, kName))) +
           2 * margin;
}

bool ColumnsFill(const CReportListCtrl& view) {
    return view.GetColumnWidth(0) == 0 &&
           view.GetColumnWidth(kName) + view.GetColumnWidth(kValue) == view.viewport()->width();
}
}  // namespace

TEST(ParameterListColumns, NamesShowWholeWhereThereIsRoomAndCutOnesCarryTheirTextAsTooltip) {
    for (int language : {0, 1}) {
        CPageHost host(language, QSize(760, 480));
        CParTypeT set;
        CDeviceSummaryPage page;
        host.Place(page);
        page.GetList().SetParameterSet(&set, kGroupBasic);
        page.GetList().Refresh();
        CReportListCtrl& view = *page.GetList().GetList();
        std::vector<int> needs;
        for (int row = 0; row < view.GetItemCount(); ++row) needs.push_back(NeededWidth(view, row));
        const auto longest = static_cast<int>(std::max_element(needs.begin(), needs.end()) - needs.begin());
        const auto shortest = static_cast<int>(std::min_element(needs.begin(), needs.end()) - needs.begin());
        const std::string label = language ? "Japanese" : "English";

        view.resize(needs[longest] * 2, view.height());
        ASSERT_TRUE(ColumnsFill(view)) << label;
        EXPECT_GE(view.GetSubItemRect(longest, kName).width(), needs[longest]) << label;
        EXPECT_EQ(ToolTipOver(view, longest, kName), "") << label;

        // With a third of this width kept for the values, the longest name no longer fits.
        view.resize(needs[longest], view.height());
        ASSERT_TRUE(ColumnsFill(view)) << label;
        EXPECT_GE(view.GetColumnWidth(kValue), view.viewport()->width() / 3) << label;
        EXPECT_EQ(ToolTipOver(view, shortest, kName), "") << label;
        EXPECT_EQ(ToolTipOver(view, longest, kName), view.GetItemText(longest, kName)) << label;
        SaveScreenshot(host.Window(), language ? "list_columns_cut_jpn.png" : "list_columns_cut_en.png");
    }
    QToolTip::hideText();
}

TEST(ParameterListColumns, TheColumnsFillTheListWhetherOrNotItScrolls) {
    ListFixture f;
    CReportListCtrl& view = f.View();
    const int whole = view.GetItemCount() * view.rowHeight(0) + 2 * view.frameWidth() + 8;
    // All rows shown, some hidden behind the scroll bar, all again.
    for (const auto& [height, scrolls] :
         {std::pair{whole, false}, {view.rowHeight(0) * 4, true}, {whole, false}}) {
        view.resize(view.width(), height);
        ASSERT_TRUE(PumpUntil([&] { return view.verticalScrollBar()->isVisible() == scrolls; })) << height;
        EXPECT_TRUE(ColumnsFill(view)) << height;
    }
}
