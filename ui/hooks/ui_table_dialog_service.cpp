#include "ui/hooks/ui_table_dialog_service.h"

#include "ui/framework/message_box.h"
#include "ui/tables/table_file2_dialog.h"
#include "ui/tables/table_file_dialog.h"
#include "ui/tables/table_pot_dialog.h"
#include "ui/tables/table_res_dialog.h"
#include "ui/tables/table_tc_dialog.h"

CUiTableDialogService::CUiTableDialogService() { InstallTableDialogService(this); }

CUiTableDialogService::~CUiTableDialogService() { InstallTableDialogService(nullptr); }

bool CUiTableDialogService::EditLinearizerTable(std::vector<CTablePoint>& points) {
    CTableFileDialog dialog;
    for (const CTablePoint& point : points) dialog.Table().Add(point.x, point.y);
    if (dialog.DoModal() != IDOK) return false;
    const CTableFile& table = dialog.Table();
    points.clear();
    for (std::size_t i = 0; i < table.GetCount(); ++i) points.push_back({table.GetX(i), table.GetY(i)});
    return true;
}

bool CUiTableDialogService::EditCustomSensorTable(CCustomSensorTable& table, int32_t displayUnit) {
    CTableFile2 shown;
    shown.SetStartTemperature(table.start);
    shown.SetStep(table.step);
    shown.SetValues(table.values);
    CTableFile2Dialog dialog;
    if (dialog.ShowTable(shown, displayUnit) != CTableFile2Dialog::kAccepted) return false;
    table.start = shown.GetStartTemperature();
    table.step = shown.GetStep();
    table.values = shown.GetValues();
    return true;
}

void CUiTableDialogService::ShowRtdOutputTable(CParTypeR& set) {
    CTableResDialog dialog(set);
    dialog.DoModal();
}

void CUiTableDialogService::ShowPotOutputTable(CParTypePM& set) {
    CTablePotDialog dialog(set);
    dialog.DoModal();
}

void CUiTableDialogService::ShowTcOutputTable(CParTypeT& set) {
    CTableTCDialog dialog(set);
    dialog.DoModal();
}
