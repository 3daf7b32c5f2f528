#pragma once

#include <QColor>
#include <QRect>
#include <QTableWidget>

#include <cstdint>
#include <functional>
#include <string>

// A report list: rows of text cells under columns without headings, several rows selectable, whole rows
// selected, grid lines between the cells. Each row carries an integer of its owner's (item data). The
// owner may colour each cell: the colour callback is asked whenever a cell is painted, so a change of
// what it answers shows with the next repaint. Cell texts are only ever set from code; the user selects
// and clicks. A cell too narrow for its text shows the full text as a tooltip.
//
// Use: a template control of kind ListView becomes one of these (kStyleNoHeader hides the headings,
// kStyleSingleSel allows one selected row); GetDlgItemAs<CReportListCtrl>(id) finds it. InsertColumn the
// columns, InsertItem a row (its text goes into column 0), SetItemText the other cells, SetItemData the
// row's integer; SetCellColours colours cells by row and column (GetItemData tells the row's kind).
// Wrap many changes in BeginUpdate / EndUpdate so the list repaints once.
class CReportListCtrl : public QTableWidget {
    Q_OBJECT

public:
    // Colours of one cell; return false to keep the list's own.
    using CellColours = std::function<bool(int row, int column, QColor& text, QColor& background)>;
    // A click on a cell; row and column are -1 when the click hit no cell.
    using ClickHandler = std::function<void(int row, int column)>;
    // The room for the columns changed: the list was resized, or its vertical scroll bar came or went.
    using ResizeHandler = std::function<void()>;

    explicit CReportListCtrl(QWidget* parent);

    void SetSingleSelection(bool single);
    void SetHeadingsVisible(bool visible);

    // A column at `index` with its heading (shown when the headings are).
    void InsertColumn(int index, int width, const std::string& heading = std::string());
    // A width of 0 hides the column.
    void SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    // The width `column` needs to show each of its texts uncut, cell margins and grid line included.
    int GetContentWidth(int column) const;

    int GetItemCount() const { return rowCount(); }
    // Inserts a row at `row` (at the end when beyond it) with `text` in column 0; returns its index.
    int InsertItem(int row, const std::string& text);
    void DeleteItem(int row);
    void DeleteAllItems();
    std::string GetItemText(int row, int column) const;
    void SetItemText(int row, int column, const std::string& text);
    void SetItemData(int row, int64_t value);
    int64_t GetItemData(int row) const;

    // The lowest selected row, -1 when none is selected.
    int GetFirstSelected() const;
    bool IsSelected(int row) const;
    // Makes `row` the only selected row and the current one.
    void SelectOnly(int row);
    // Takes the selection off `from` and makes `to` selected and current; other selected rows stay so.
    void MoveSelection(int from, int to);
    void EnsureVisible(int row);
    // The rectangle of a cell in the coordinates of the viewport, where in-place editors are placed.
    QRect GetSubItemRect(int row, int column) const;

    void SetCellColours(CellColours colours) { m_colours = std::move(colours); }
    void SetClickHandler(ClickHandler handler) { m_click = std::move(handler); }
    void SetResizeHandler(ResizeHandler handler) { m_resize = std::move(handler); }
    // Asked by the painter for each cell.
    bool CellColour(int row, int column, QColor& text, QColor& background) const;

    // Between BeginUpdate and EndUpdate (they nest) the list does not repaint.
    void BeginUpdate();
    void EndUpdate();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // A cell of `row` in the first column shown: the selection model works on cells the view shows.
    QModelIndex ShownIndex(int row) const;
    // The width the item delegate asks for to show a cell's text whole.
    int TextWidth(const QModelIndex& index) const;
    // Whether the cell shows less than its whole text.
    bool IsTextCut(const QModelIndex& index) const;
    void ShowCutText(QHelpEvent* event);

    CellColours m_colours;
    ClickHandler m_click;
    ResizeHandler m_resize;
    int m_updates = 0;
};
