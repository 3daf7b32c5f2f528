#pragma once

#include <vector>

// One point of a table the user edits in a table viewer.
struct CTablePoint {
    double x;
    double y;
};

// The table viewers the parameter sets open modally on the user-interface thread. The user interface
// installs its implementation at start-up; without one, a table action does nothing.
class CTableDialogService {
public:
    virtual ~CTableDialogService() = default;

    // The linearization table viewer on `points` (percent values). Returns true when the user accepted;
    // `points` then holds the accepted table.
    virtual bool EditLinearizerTable(std::vector<CTablePoint>& points) = 0;
};

void InstallTableDialogService(CTableDialogService* service);
CTableDialogService* GetTableDialogService();
