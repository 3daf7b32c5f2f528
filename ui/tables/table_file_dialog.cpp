#include "ui/tables/table_file_dialog.h"

#include "ui/framework/file_dialog.h"
#include "ui/framework/message_box.h"

CTableFileDialog::CTableFileDialog() : CDialog(141) {
    MapClicked(kOpenFile, [this] { OnBnClickedOpenFile(); });
    MapClicked(kSaveFile, [this] { OnBnClickedSaveFile(); });
}

bool CTableFileDialog::OnInitDialog() {
    m_graph = new CGraph();
    PlaceCustomControl(kPlot, m_graph);
    m_graph->SetNegativeXAllowed(true);
    // Two percent beyond both ends of the travel; points outside stay outside.
    m_graph->SetViewRange(-22.0, 122.0, -22.0, 122.0);
    UpdateGraph();
    return true;
}

void CTableFileDialog::UpdateGraph() {
    if (!m_graph) return;
    m_graph->Clear();
    for (std::size_t i = 0; i < m_table.GetCount(); ++i)
        m_graph->AddSample(static_cast<float>(m_table.GetX(i)), static_cast<float>(m_table.GetY(i)));
    m_graph->update();
}

void CTableFileDialog::OnBnClickedOpenFile() {
    CFileDialog dialog(true, {}, {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() != IDOK) return;
    // Into a table of its own: a file that fails to load leaves the shown table as it was.
    CTableFile loaded;
    loaded.Load(dialog.GetPathName());
    m_table = loaded;
    UpdateGraph();
}

void CTableFileDialog::OnBnClickedSaveFile() {
    // Refused before a name is asked for: a file the program could not open again helps nobody.
    m_table.CheckSavable();
    CFileDialog dialog(false, {}, {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() == IDOK) m_table.Save(dialog.GetPathName());
}
