#pragma once

#include <cstdint>
#include <vector>

class CParTypeR;
class CParTypePM;
class CParTypeT;

// One point of a table the user edits in a table viewer.
struct CTablePoint {
    double x;
    double y;
};

// A custom sensor table as the custom table viewer edits it: one value per step from the start
// temperature (degC), the step in whole degC.
struct CCustomSensorTable {
    double start = 0.0;
    int32_t step = 1;
    std::vector<double> values;
};

// The table viewers the parameter sets open modally on the user-interface thread. The user interface
// installs its implementation at start-up; without one, a table action does nothing.
class CTableDialogService {
public:
    virtual ~CTableDialogService() = default;

    // The linearization table viewer on `points` (percent values). Returns true when the user accepted;
    // `points` then holds the accepted table.
    virtual bool EditLinearizerTable(std::vector<CTablePoint>& points) = 0;

    // The custom sensor table viewer, temperatures shown in `displayUnit` (0 degC, 1 degF, 2 K, any
    // other degC). Returns true when the user accepted; `table` then holds the accepted table.
    virtual bool EditCustomSensorTable(CCustomSensorTable& table, int32_t displayUnit) {
        (void)table;
        (void)displayUnit;
        return false;
    }

    // The computed output table views of the administrator mode, on the calling set.
    virtual void ShowRtdOutputTable(CParTypeR& set) { (void)set; }
    virtual void ShowPotOutputTable(CParTypePM& set) { (void)set; }
    virtual void ShowTcOutputTable(CParTypeT& set) { (void)set; }
};

void InstallTableDialogService(CTableDialogService* service);
CTableDialogService* GetTableDialogService();
