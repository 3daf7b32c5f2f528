#pragma once

#include <string>
#include <vector>

class CParBase;
class QTreeWidget;

// The rows of an output table viewer, as texts: one row per table entry, one text per titled column.
using COutputTableRows = std::vector<std::vector<std::string>>;

// Fills a report list in one go: a hidden first column, then the titled columns, left-aligned, which
// share the list's width; then the rows. Drawing waits until every text is in.
void FillOutputTableList(QTreeWidget* list, const std::vector<std::string>& headings,
                         const COutputTableRows& rows);

// The output (mA) that the set's input and output ranges give at `celsius`, limited to 1.6 to 21.6 mA,
// as "%.4lf"; "-----" when the 0 % and 100 % inputs are equal and the output has no slope to follow.
class COutputFormula {
public:
    explicit COutputFormula(const CParBase& set);
    std::string Text(double celsius) const;

private:
    double m_in0;
    double m_in100;
    double m_out0;
    double m_out100;
};
