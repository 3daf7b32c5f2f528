#include "ui/tables/output_table_list.h"

#include <QStyle>
#include <QTableWidgetItem>

#include <algorithm>

#include "ui/framework/report_list_ctrl.h"

void FillOutputTableList(CReportListCtrl* list, const std::vector<std::string>& headings,
                         const COutputTableRows& rows) {
    if (!list) return;
    list->BeginUpdate();
    list->DeleteAllItems();
    list->setColumnCount(0);
    const int titled = static_cast<int>(headings.size());
    list->InsertColumn(0, 0);
    for (int c = 1; c <= titled; ++c) {
        list->InsertColumn(c, 0, headings[static_cast<std::size_t>(c - 1)]);
        list->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) list->InsertItem(static_cast<int>(r), std::string());

    // The titled columns share the width beside the vertical scroll bar; the last takes the rest less one.
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int w = std::max(0, list->contentsRect().width() - scrollBar);
    for (int c = 1; c < titled; ++c) list->SetColumnWidth(c, w / titled);
    if (titled > 0) list->SetColumnWidth(titled, w - (titled - 1) * (w / titled) - 1);

    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& row = rows[r];
        for (std::size_t c = 0; c < row.size() && c < headings.size(); ++c)
            list->SetItemText(static_cast<int>(r), static_cast<int>(c + 1), row[c]);
    }
    list->EndUpdate();
}
