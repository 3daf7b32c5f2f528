#include "ui/tables/table_file2_dialog.h"

#include <algorithm>
#include <cmath>

#include "platform/c_number.h"
#include "ui/framework/file_dialog.h"
#include "ui/framework/message_box.h"

namespace {
enum : int32_t { kUnitFahrenheit = 1, kUnitKelvin = 2 };
}

CTableFile2Dialog::CTableFile2Dialog() : CDialog(142) {
    MapClicked(kOpenFile, [this] { OnBnClickedOpenFile(); });
    MapClicked(kSaveFile, [this] { OnBnClickedSaveFile(); });
}

int CTableFile2Dialog::ShowTable(CTableFile2& table, int32_t unit) {
    m_table = table;
    m_unit = unit;
    if (DoModal() != IDOK) return kDiscarded;
    table = m_table;
    return kAccepted;
}

double CTableFile2Dialog::AxisTemperature(double celsius, int32_t unit) {
    int64_t c = ToInt32Trunc(celsius * 10000.0);
    if (unit == kUnitFahrenheit) {
        c = static_cast<int64_t>(std::round(static_cast<double>(c) * 1.8)) + 320000;
    } else if (unit == kUnitKelvin) {
        c += 2731500;
    }
    return static_cast<double>(c) / 10000.0;
}

bool CTableFile2Dialog::OnInitDialog() {
    m_graph = new CGraph();
    PlaceCustomControl(kPlot, m_graph);
    m_graph->SetNegativeXAllowed(true);
    m_graph->SetLabelMargin(true);
    m_graph->SetViewRange(-240.0, 850.0, 0.0, 300.0);
    UpdateGraph();
    return true;
}

void CTableFile2Dialog::UpdateGraph() {
    if (!m_graph) return;
    const std::vector<double>& values = m_table.GetValues();
    if (values.empty()) {
        // The range stays as it was.
        m_graph->Clear();
        m_graph->update();
        return;
    }
    // The value axis always reaches from 10000 or below to 0 or above.
    double low = 10000.0;
    double high = 0.0;
    for (double v : values) {
        if (v <= low) low = v;
        if (v >= high) high = v;
    }
    if (low == high) high = low + 1.0;
    const double start = m_table.GetStartTemperature();
    const double step = m_table.GetStep();
    const auto n = static_cast<double>(values.size());
    double xStart = AxisTemperature(start, m_unit);
    double xEnd = AxisTemperature(start + step * std::max(n - 1.0, 1.0), m_unit);
    if (xStart == xEnd) xEnd += 0.1;
    m_graph->SetViewRange(xStart, xEnd, low, high);
    m_graph->Clear();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double t = AxisTemperature(start + step * static_cast<double>(i), m_unit);
        m_graph->AddSample(static_cast<float>(t), static_cast<float>(values[i]));
    }
    m_graph->update();
}

void CTableFile2Dialog::OnBnClickedOpenFile() {
    CFileDialog dialog(true, {}, {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() != IDOK) return;
    // Into a table of its own: a file that fails to load leaves the shown table as it was.
    CTableFile2 loaded;
    loaded.Load(dialog.GetPathName());
    m_table.SetValues(loaded.GetValues());
    m_table.SetStartTemperature(loaded.GetStartTemperature());
    m_table.SetStep(loaded.GetStep());
    UpdateGraph();
}

void CTableFile2Dialog::OnBnClickedSaveFile() {
    // Refused before a name is asked for: a file the program could not open again helps nobody.
    m_table.CheckSavable();
    CFileDialog dialog(false, {}, {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() == IDOK) m_table.Save(dialog.GetPathName());
}
