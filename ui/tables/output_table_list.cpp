#include "ui/tables/output_table_list.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

#include "model/set/par_base.h"
#include "platform/c_number.h"

namespace {
// Codes of the input and output ranges every model shares: 1e-4 degC and 1e-4 mA.
enum : int32_t { kInput0 = 1, kInput100 = 2, kOutput0 = 101, kOutput100 = 102 };
}  // namespace

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

COutputFormula::COutputFormula(const CParBase& set)
    : m_in0(set.GetValue(kInput0) / 10000.0),
      m_in100(set.GetValue(kInput100) / 10000.0),
      m_out0(set.GetValue(kOutput0) / 10000.0),
      m_out100(set.GetValue(kOutput100) / 10000.0) {}

std::string COutputFormula::Text(double celsius) const {
    if (m_in100 == m_in0) return "-----";
    const double out = (celsius - m_in0) * (m_out100 - m_out0) / (m_in100 - m_in0) + m_out0;
    return FormatC("%.4lf", std::clamp(out, 1.6, 21.6));
}
