#pragma once

#include <QPointer>

#include "model/table_files/table_file.h"
#include "res/dialogs/dialog_141_ids.h"
#include "ui/controls/graph.h"
#include "ui/framework/dialog.h"

// The linearization table viewer: plots the points (percent against percent) and replaces them from a
// table file or writes them to one. The caller fills Table(), runs DoModal and, on IDOK, reads Table()
// back.
class CTableFileDialog : public CDialog, public Dialog141Ids {
public:
    CTableFileDialog();

    CTableFile& Table() { return m_table; }
    CGraph* GetGraph() const { return m_graph; }

protected:
    bool OnInitDialog() override;

private:
    void OnBnClickedOpenFile();
    void OnBnClickedSaveFile();
    void UpdateGraph();

    CTableFile m_table;
    QPointer<CGraph> m_graph;
};
