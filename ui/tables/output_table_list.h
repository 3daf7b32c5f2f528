#pragma once

#include <string>
#include <vector>

class QTreeWidget;

// The rows of an output table viewer, as texts: one row per table entry, one text per titled column.
using COutputTableRows = std::vector<std::vector<std::string>>;

// Fills a report list in one go: a hidden first column, then the titled columns, left-aligned, which
// share the list's width; then the rows. Drawing waits until every text is in.
void FillOutputTableList(QTreeWidget* list, const std::vector<std::string>& headings,
                         const COutputTableRows& rows);
