#pragma once

#include <QPointer>

#include <cstdint>

#include "model/table_files/table_file2.h"
#include "res/dialogs/dialog_142_ids.h"
#include "ui/controls/graph.h"
#include "ui/framework/dialog.h"

// The custom sensor table viewer: plots the values (Ohm or mV) against the temperature in the set's
// display unit and replaces the table from a table file or writes it to one.
class CTableFile2Dialog : public CDialog, public Dialog142Ids {
public:
    enum Result : int { kAccepted = 1, kDiscarded = 2 };

    CTableFile2Dialog();

    // Shows `table` with temperatures in `unit` (0 degC, 1 degF, 2 K, others degC). Returns kAccepted
    // and hands the shown table back into `table` when the user ends with OK; otherwise kDiscarded and
    // `table` stays as it was.
    int ShowTable(CTableFile2& table, int32_t unit);

    const CTableFile2& Table() const { return m_table; }
    CGraph* GetGraph() const { return m_graph; }

    // A temperature in degC on the axis of `unit`, converted as the set converts its 1e-4 degC values.
    static double AxisTemperature(double celsius, int32_t unit);

protected:
    bool OnInitDialog() override;

private:
    void OnBnClickedOpenFile();
    void OnBnClickedSaveFile();
    void UpdateGraph();

    CTableFile2 m_table;
    int32_t m_unit = 0;
    QPointer<CGraph> m_graph;
};
