#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

#include "model/set/par_base.h"
#include "res/dialogs/dialog_134_ids.h"
#include "ui/framework/dialog.h"

// The device's parameters beside the file side's, after a Compare: one row per comparable parameter,
// sections told apart by two greens, differing values in light red, and how many differ.
class CCompareDialog : public CDialog, public Dialog134Ids {
public:
    // Codes never compared: hardware and firmware version, which no file can hold.
    static constexpr int32_t kHardwareCode = 62004;
    static constexpr int32_t kFirmwareCode = 62005;

    static const QColor kLightGreen;
    static const QColor kDeeperGreen;
    static const QColor kLightRed;

    // Both sets are of one type id and outlive the dialog.
    CCompareDialog(const CParBase& device, const CParBase& file);

    int GetFirstMismatchRow() const { return m_firstMismatch; }
    // The columns have their widths and the first difference is in view.
    bool IsArranged() const { return m_arranged; }

protected:
    bool OnInitDialog() override;

private:
    void FillList();
    // The colours of a cell of a row with `itemData`: the section's greens in the first two columns, light
    // red for differing values.
    static bool CellColours(uint32_t itemData, int column, const QPalette& palette, QColor& text,
                            QColor& background);
    void SetColumnWidths();

    const CParBase& m_device;
    const CParBase& m_file;
    int m_mismatches = 0;
    int m_firstMismatch = -1;
    bool m_arranged = false;
};
