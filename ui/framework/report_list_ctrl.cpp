#include "ui/framework/report_list_ctrl.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

namespace {
// Paints each cell in the colours its owner asks for at that moment.
class CCellColourDelegate : public QStyledItemDelegate {
public:
    explicit CCellColourDelegate(CReportListCtrl* list) : QStyledItemDelegate(list), m_list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        QColor text;
        QColor background;
        if (!m_list->CellColour(index.row(), index.column(), text, background)) return;
        option->palette.setColor(QPalette::Text, text);
        option->backgroundBrush = background;
    }

private:
    CReportListCtrl* m_list;
};
}  // namespace

CReportListCtrl::CReportListCtrl(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new CCellColourDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control instead of walking its cells.
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void CReportListCtrl::SetSingleSelection(bool single) {
    setSelectionMode(single ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

void CReportListCtrl::SetHeadingsVisible(bool visible) { horizontalHeader()->setVisible(visible); }

void CReportListCtrl::InsertColumn(int index, int width, const std::string& heading) {
    insertColumn(index);
    setHorizontalHeaderItem(index, new QTableWidgetItem(QString::fromStdString(heading)));
    for (int row = 0; row < rowCount(); ++row) setItem(row, index, new QTableWidgetItem());
    SetColumnWidth(index, width);
}

void CReportListCtrl::SetColumnWidth(int column, int width) {
    setColumnHidden(column, width <= 0);
    if (width > 0) horizontalHeader()->resizeSection(column, width);
}

int CReportListCtrl::GetColumnWidth(int column) const {
    return isColumnHidden(column) ? 0 : columnWidth(column);
}

int CReportListCtrl::GetContentWidth(int column) const {
    if (column < 0 || column >= columnCount()) return 0;
    int width = 0;
    for (int row = 0; row < rowCount(); ++row)
        width = std::max(width, TextWidth(model()->index(row, column)));
    // The grid line is drawn inside the column, on its right edge.
    return width + (showGrid() ? 1 : 0);
}

bool CReportListCtrl::IsTextCut(const QModelIndex& index) const {
    return !index.data().toString().isEmpty() && TextWidth(index) > visualRect(index).width();
}

int CReportListCtrl::TextWidth(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    return itemDelegate()->sizeHint(option, index).width();
}

int CReportListCtrl::InsertItem(int row, const std::string& text) {
    if (row < 0 || row > rowCount()) row = rowCount();
    insertRow(row);
    for (int column = 0; column < columnCount(); ++column) setItem(row, column, new QTableWidgetItem());
    SetItemText(row, 0, text);
    return row;
}

void CReportListCtrl::DeleteItem(int row) {
    if (row >= 0 && row < rowCount()) removeRow(row);
}

void CReportListCtrl::DeleteAllItems() { setRowCount(0); }

std::string CReportListCtrl::GetItemText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text().toStdString() : std::string();
}

void CReportListCtrl::SetItemText(int row, int column, const std::string& text) {
    if (QTableWidgetItem* cell = item(row, column)) cell->setText(QString::fromStdString(text));
}

void CReportListCtrl::SetItemData(int row, int64_t value) {
    if (QTableWidgetItem* cell = item(row, 0))
        cell->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(value));
}

int64_t CReportListCtrl::GetItemData(int row) const {
    const QTableWidgetItem* cell = item(row, 0);
    return cell ? cell->data(Qt::UserRole).toLongLong() : 0;
}

int CReportListCtrl::GetFirstSelected() const {
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (first < 0 || index.row() < first) first = index.row();
    }
    return first;
}

bool CReportListCtrl::IsSelected(int row) const {
    return selectionModel()->isRowSelected(row, QModelIndex());
}

QModelIndex CReportListCtrl::ShownIndex(int row) const {
    int shown = 0;
    while (shown + 1 < columnCount() && isColumnHidden(shown)) ++shown;
    return model()->index(row, shown);
}

void CReportListCtrl::SelectOnly(int row) {
    if (row < 0 || row >= rowCount()) return;
    selectionModel()->setCurrentIndex(ShownIndex(row),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CReportListCtrl::MoveSelection(int from, int to) {
    if (from < 0 || from >= rowCount() || to < 0 || to >= rowCount()) return;
    selectionModel()->select(ShownIndex(from), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    selectionModel()->setCurrentIndex(ShownIndex(to),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void CReportListCtrl::EnsureVisible(int row) {
    if (row < 0 || row >= rowCount()) return;
    // The view scrolls only to a cell of a column it shows.
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnHidden(column)) continue;
        scrollTo(model()->index(row, column), QAbstractItemView::EnsureVisible);
        return;
    }
}

QRect CReportListCtrl::GetSubItemRect(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return QRect();
    return visualRect(model()->index(row, column));
}

bool CReportListCtrl::CellColour(int row, int column, QColor& text, QColor& background) const {
    return m_colours && m_colours(row, column, text, background);
}

void CReportListCtrl::BeginUpdate() {
    if (m_updates++ == 0) setUpdatesEnabled(false);
}

void CReportListCtrl::EndUpdate() {
    if (m_updates > 0 && --m_updates == 0) setUpdatesEnabled(true);
}

void CReportListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    // A click ends with the release; by then the selection has followed the press.
    QTableWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_click) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) {
        m_click(index.row(), index.column());
    } else {
        m_click(-1, -1);
    }
}

bool CReportListCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        ShowCutText(static_cast<QHelpEvent*>(event));
        return true;
    }
    const bool handled = QTableWidget::viewportEvent(event);
    if (event->type() == QEvent::Resize && m_resize) m_resize();
    return handled;
}

void CReportListCtrl::ShowCutText(QHelpEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    if (!index.isValid() || !IsTextCut(index)) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event->globalPos(), index.data().toString(), viewport(), visualRect(index));
}
