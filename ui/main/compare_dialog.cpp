#include "ui/main/compare_dialog.h"

#include <QPalette>

#include <string>

#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/framework/report_list_ctrl.h"

const QColor CCompareDialog::kLightGreen(100, 255, 150);
const QColor CCompareDialog::kDeeperGreen(80, 235, 130);
const QColor CCompareDialog::kLightRed(255, 150, 150);

namespace {
// Item data of a row: the low 16 bits say whether the values differ, the upper bits count sections, so
// bit 16 alternates from one section to the next.
constexpr uint32_t kSectionStep = 0x10000;
constexpr uint32_t kSectionBit = 0x10000;
constexpr uint32_t kDiffMask = 0xFFFF;
constexpr int kColumns = 4;
// Widths until the list knows its own; replaced once it shows.
constexpr int kInitialWidths[kColumns] = {80, 100, 150, 150};
constexpr unsigned kHeadings[kColumns] = {kStrColumnGroup, kStrColumnName, kStrColumnDevice, kStrColumnFile};

CReportListCtrl* List(const CDialog& dialog) {
    return dialog.GetDlgItemAs<CReportListCtrl>(CCompareDialog::kCompareList);
}
}  // namespace

CCompareDialog::CCompareDialog(const CParBase& device, const CParBase& file)
    : CDialog(134), m_device(device), m_file(file) {}

bool CCompareDialog::OnInitDialog() {
    m_arranged = false;
    m_mismatches = 0;
    m_firstMismatch = -1;
    CReportListCtrl* list = List(*this);
    for (int column = 0; column < kColumns; ++column) {
        list->InsertColumn(column, kInitialWidths[column], LoadString(kHeadings[column]));
    }
    list->SetCellColours([list](int row, int column, QColor& text, QColor& background) {
        return CellColours(static_cast<uint32_t>(list->GetItemData(row)), column, list->palette(), text,
                           background);
    });
    list->BeginUpdate();
    FillList();
    list->EndUpdate();

    SetDlgItemText(kResultText, m_mismatches == 0 ? LoadString(kStrAllMatching)
                                                  : FormatMessageId(kStrNotMatching, {m_mismatches}));
    // Widths and scrolling need the list's final size, which it has once the window shows.
    PostCall([this] {
        SetColumnWidths();
        if (m_firstMismatch >= 0) {
            CReportListCtrl* shown = List(*this);
            // The last row first, then the first difference: the difference ends up near the top.
            shown->EnsureVisible(shown->GetItemCount() - 1);
            shown->EnsureVisible(m_firstMismatch);
        }
        m_arranged = true;
    });
    return true;
}

bool CCompareDialog::CellColours(uint32_t itemData, int column, const QPalette& palette, QColor& text,
                                 QColor& background) {
    text = palette.color(QPalette::WindowText);
    const bool odd = (itemData & kSectionBit) != 0;
    switch (column) {
        case 0: background = odd ? kDeeperGreen : kLightGreen; break;
        case 1: background = odd ? kLightGreen : kDeeperGreen; break;
        default: background = (itemData & kDiffMask) == 1 ? kLightRed : palette.color(QPalette::Base); break;
    }
    return true;
}

void CCompareDialog::FillList() {
    CReportListCtrl* list = List(*this);
    std::string section;
    // Rows before the first heading count as a section of their own, with the section bit set.
    uint32_t counter = static_cast<uint32_t>(-static_cast<int32_t>(kSectionStep));
    // Group 10 (live values) is never reached: the walk ends at the first group without rows.
    for (int32_t group = 0; m_device.GetParamCount(group) > 0; ++group) {
        for (int32_t index = 0; index < m_device.GetParamCount(group); ++index) {
            const int32_t code = m_device.GetParamId(group, index);
            if (code == kHardwareCode || code == kFirmwareCode) continue;
            if (m_device.GetParamState(code) == 0) {
                section = m_device.GetParamName(code);
                counter += kSectionStep;
                continue;
            }
            // Raw texts, not formatted ones: two values shown alike may still be stored differently.
            const bool differs = m_device.GetValueString(code) != m_file.GetValueString(code);
            const int row = list->InsertItem(list->GetItemCount(), section);
            list->SetItemText(row, 1, m_device.GetParamName(code));
            list->SetItemText(row, 2, m_device.FormatValue(code, m_device.GetValue(code), true));
            list->SetItemText(row, 3, m_file.FormatValue(code, m_file.GetValue(code), true));
            if (differs) {
                ++m_mismatches;
                if (m_firstMismatch < 0) m_firstMismatch = row;
            }
            list->SetItemData(row, counter + (differs ? 1 : 0));
        }
    }
}

void CCompareDialog::SetColumnWidths() {
    CReportListCtrl* list = List(*this);
    const int width = list->viewport()->width();
    const int quarter = width / 4;
    list->SetColumnWidth(0, width - 3 * quarter);
    for (int column = 1; column < kColumns; ++column) list->SetColumnWidth(column, quarter);
}
