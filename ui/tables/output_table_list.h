#pragma once

#include <string>
#include <vector>

class CReportListCtrl;

// The rows of an output table viewer, as texts: one row per table entry, one text per titled column.
using COutputTableRows = std::vector<std::vector<std::string>>;

// Fills a report list in one go: a hidden first column, then the titled columns, left-aligned, which
// share the list's width; then the empty rows, and then their texts. The list repaints once, at the end.
void FillOutputTableList(CReportListCtrl* list, const std::vector<std::string>& headings,
                         const COutputTableRows& rows);
