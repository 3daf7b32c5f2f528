#include "ui/main/compare_dialog.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <string>

#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

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

QTreeWidget* List(const CDialog& dialog) {
    return dialog.GetDlgItemAs<QTreeWidget>(CCompareDialog::kCompareList);
}
}  // namespace

CCompareDialog::CCompareDialog(const CParBase& device, const CParBase& file)
    : CDialog(134), m_device(device), m_file(file) {}

bool CCompareDialog::OnInitDialog() {
    m_arranged = false;
    QTreeWidget* list = List(*this);
    list->setColumnCount(kColumns);
    list->setHeaderLabels({QString::fromStdString(LoadString(kStrColumnGroup)),
                           QString::fromStdString(LoadString(kStrColumnName)),
                           QString::fromStdString(LoadString(kStrColumnDevice)),
                           QString::fromStdString(LoadString(kStrColumnFile))});
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    FillList();

    SetDlgItemText(kResultText, m_mismatches == 0 ? LoadString(kStrAllMatching)
                                                  : FormatMessageId(kStrNotMatching, {m_mismatches}));
    // Widths and scrolling need the list's final size, which it has once the window shows.
    PostCall([this] {
        SetColumnWidths();
        if (m_firstMismatch >= 0) {
            QTreeWidget* shown = List(*this);
            // The last row first, then the first difference: the difference ends up near the top.
            shown->scrollToItem(shown->topLevelItem(shown->topLevelItemCount() - 1));
            shown->scrollToItem(shown->topLevelItem(m_firstMismatch));
        }
        m_arranged = true;
    });
    return true;
}

void CCompareDialog::FillList() {
    QTreeWidget* list = List(*this);
    std::string section;
    // Rows before the first heading count as a section of their own, with the section bit set.
    uint32_t counter = static_cast<uint32_t>(-static_cast<int32_t>(kSectionStep));
    int row = 0;
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
            auto* item = new QTreeWidgetItem(list);
            item->setText(0, QString::fromStdString(section));
            item->setText(1, QString::fromStdString(m_device.GetParamName(code)));
            item->setText(2,
                          QString::fromStdString(m_device.FormatValue(code, m_device.GetValue(code), true)));
            item->setText(3, QString::fromStdString(m_file.FormatValue(code, m_file.GetValue(code), true)));
            if (differs) {
                ++m_mismatches;
                if (m_firstMismatch < 0) m_firstMismatch = row;
            }
            const uint32_t itemData = counter + (differs ? 1 : 0);
            item->setData(0, Qt::UserRole, itemData);
            ColourRow(row, itemData);
            ++row;
        }
    }
}

void CCompareDialog::ColourRow(int row, uint32_t itemData) {
    QTreeWidgetItem* item = List(*this)->topLevelItem(row);
    const bool odd = (itemData & kSectionBit) != 0;
    item->setBackground(0, odd ? kDeeperGreen : kLightGreen);
    item->setBackground(1, odd ? kLightGreen : kDeeperGreen);
    if ((itemData & kDiffMask) == 1) {
        item->setBackground(2, kLightRed);
        item->setBackground(3, kLightRed);
    }
    const QColor text = List(*this)->palette().color(QPalette::WindowText);
    for (int column = 0; column < kColumns; ++column) item->setForeground(column, text);
}

void CCompareDialog::SetColumnWidths() {
    QTreeWidget* list = List(*this);
    const int width = list->viewport()->width();
    const int quarter = width / 4;
    list->setColumnWidth(0, width - 3 * quarter);
    for (int column = 1; column < kColumns; ++column) list->setColumnWidth(column, quarter);
}
