#include <QHelpEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <gtest/gtest.h>

#include <string>

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

// The width a name needs with the list's font and the style's margins on both sides of a cell.
int NeededWidth(const CReportListCtrl& view, const std::string& name) {
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    return view.fontMetrics().horizontalAdvance(QString::fromStdString(name)) + 2 * margin;
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
        int longest = 0;
        int shortest = 0;
        for (int row = 0; row < view.GetItemCount(); ++row) {
            const int width = NeededWidth(view, view.GetItemText(row, kName));
            if (width > NeededWidth(view, view.GetItemText(longest, kName))) longest = row;
            if (width < NeededWidth(view, view.GetItemText(shortest, kName))) shortest = row;
        }
        const int widest = NeededWidth(view, view.GetItemText(longest, kName));
        const std::string label = language ? "Japanese" : "English";

        view.resize(widest * 2, view.height());
        ASSERT_TRUE(PumpUntil([&] { return ColumnsFill(view); })) << label;
        EXPECT_GE(view.GetSubItemRect(longest, kName).width(), widest) << label;
        EXPECT_EQ(ToolTipOver(view, longest, kName), "") << label;
        SaveScreenshot(host.Window(), language ? "list_columns_wide_jpn.png" : "list_columns_wide_en.png");

        // Narrower than the longest name needs with a third left for the values: that name is cut.
        const int narrow = widest;
        view.resize(narrow, view.height());
        ASSERT_TRUE(PumpUntil([&] { return ColumnsFill(view); })) << label;
        const int room = view.viewport()->width();
        EXPECT_GE(view.GetColumnWidth(kValue), room / 3) << label;
        EXPECT_EQ(ToolTipOver(view, shortest, kName), "") << label;
        EXPECT_EQ(ToolTipOver(view, longest, kName), view.GetItemText(longest, kName)) << label;
        SaveScreenshot(host.Window(),
                       language ? "list_columns_narrow_jpn.png" : "list_columns_narrow_en.png");
    }
    QToolTip::hideText();
}

TEST(ParameterListColumns, TheColumnsFillTheListWhetherOrNotItScrolls) {
    ListFixture f;
    CReportListCtrl& view = f.View();
    const int whole = view.GetItemCount() * view.rowHeight(0) + 2 * view.frameWidth() + 8;
    const struct {
        const char* label;
        int height;
        bool scrolls;
    } steps[] = {
        {"all rows shown", whole, false},
        {"some rows hidden", view.rowHeight(0) * 4, true},
        {"all rows again", whole, false},
    };
    for (const auto& step : steps) {
        view.resize(view.width(), step.height);
        ASSERT_TRUE(PumpUntil([&] { return view.verticalScrollBar()->isVisible() == step.scrolls; }))
            << step.label;
        EXPECT_TRUE(PumpUntil([&] { return ColumnsFill(view); })) << step.label;
    }
}
