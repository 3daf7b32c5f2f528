#pragma once

#include "model/hooks/table_dialog_service.h"

// Opens the table viewers for the parameter sets, modally over the active window. Installed for the
// model while the object lives.
class CUiTableDialogService : public CTableDialogService {
public:
    CUiTableDialogService();
    ~CUiTableDialogService() override;
    CUiTableDialogService(const CUiTableDialogService&) = delete;
    CUiTableDialogService& operator=(const CUiTableDialogService&) = delete;

    bool EditLinearizerTable(std::vector<CTablePoint>& points) override;
    bool EditCustomSensorTable(CCustomSensorTable& table, int32_t displayUnit) override;
    void ShowRtdOutputTable(CParTypeR& set) override;
    void ShowPotOutputTable(CParTypePM& set) override;
    void ShowTcOutputTable(CParTypeT& set) override;
};
