#include "ui/tables/output_table_list.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

void FillOutputTableList(QTreeWidget* list, const std::vector<std::string>& headings,
                         const COutputTableRows& rows) {
    if (!list) return;
    list->setUpdatesEnabled(false);
    list->clear();
    const int titled = static_cast<int>(headings.size());
    list->setColumnCount(titled + 1);
    QStringList labels{QString()};
    for (const std::string& heading : headings) labels << QString::fromStdString(heading);
    list->setHeaderLabels(labels);
    list->setColumnHidden(0, true);
    // Full-row selection with grid lines between the cells.
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setStyleSheet(
        QStringLiteral("QTreeView::item { border-right: 1px solid #d8d8d8; "
                       "border-bottom: 1px solid #d8d8d8; }"));

    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows) {
        auto* item = new QTreeWidgetItem();
        for (int c = 0; c < titled && c < static_cast<int>(row.size()); ++c)
            item->setText(c + 1, QString::fromStdString(row[static_cast<std::size_t>(c)]));
        items.append(item);
    }
    list->addTopLevelItems(items);

    // The titled columns share the width beside the vertical scroll bar; the last takes the rest less one.
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int w = std::max(0, list->contentsRect().width() - scrollBar);
    if (titled > 0) {
        for (int c = 1; c < titled; ++c) list->setColumnWidth(c, w / titled);
        list->setColumnWidth(titled, w - (titled - 1) * (w / titled) - 1);
    }
    list->setUpdatesEnabled(true);
}
