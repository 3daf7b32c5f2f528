#pragma once

#include <vector>

#include "model/hooks/table_dialog_service.h"

// Stands in for the user's table viewers: records what a set hands out and answers with a prepared
// table, or with the unchanged table when none is prepared. Installed for the life of the object.
class CTableServiceStub : public CTableDialogService {
public:
    CTableServiceStub() { InstallTableDialogService(this); }
    ~CTableServiceStub() override { InstallTableDialogService(nullptr); }
    CTableServiceStub(const CTableServiceStub&) = delete;
    CTableServiceStub& operator=(const CTableServiceStub&) = delete;

    bool EditLinearizerTable(std::vector<CTablePoint>& points) override {
        shownPoints = points;
        if (answerPoints) points = *answerPoints;
        return accept;
    }
    bool EditCustomSensorTable(CCustomSensorTable& table, int32_t displayUnit) override {
        shownTable = table;
        shownUnit = displayUnit;
        if (answerTable) table = *answerTable;
        return accept;
    }
    void ShowRtdOutputTable(CParTypeR&) override { ++rtdViews; }
    void ShowPotOutputTable(CParTypePM&) override { ++potViews; }

    bool accept = true;
    const std::vector<CTablePoint>* answerPoints = nullptr;
    const CCustomSensorTable* answerTable = nullptr;
    std::vector<CTablePoint> shownPoints;
    CCustomSensorTable shownTable;
    int32_t shownUnit = -1;
    int rtdViews = 0;
    int potViews = 0;
};
