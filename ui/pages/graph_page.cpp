#include "ui/pages/graph_page.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "model/set/par_base.h"
#include "model/set/par_type_v.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/framework/message_box.h"
#include "ui/framework/print_dialog.h"

namespace {
uint32_t SteadyMilliseconds() {
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
}  // namespace

CGraphPage::CGraphPage() : CDialog(140), m_graph(std::make_unique<CGraph>()), m_clock(SteadyMilliseconds) {
    MapClicked(kStart, [this] { OnBnClickedStart(); });
    MapClicked(kStop, [this] { OnBnClickedStop(); });
    MapClicked(kClose, [this] { OnBnClickedClose(); });
    MapClicked(kPrint, [this] { OnBnClickedPrint(); });
}

CGraphPage::~CGraphPage() {
    // While this object is whole, so that the graph leaves the window before either goes.
    DestroyWindow();
}

bool CGraphPage::OnInitDialog() {
    CGraph* graph = m_graph.get();
    PlaceCustomControl(kPlot, graph);
    // A window that goes with its parent, not through DestroyWindow, must not take the graph along.
    QObject::connect(GetWindow(), &QObject::destroyed, graph, [graph](QObject* window) {
        if (graph->parent() == window) graph->setParent(nullptr);
    });
    m_graph->SetTimeAxis(true);
    m_graph->SetViewRange(0.0, 1.0, -0.1, 0.1);
    m_running = false;
    return true;
}

void CGraphPage::Resize(const QSize& size) {
    const QSize grown = size - GetWindow()->size();
    GetWindow()->setFixedSize(size);
    m_graph->resize(m_graph->size() + grown);
    for (int id : {kStart, kStop, kPrint, kClose}) {
        QWidget* button = GetDlgItem(id);
        button->move(button->pos() + QPoint(id == kClose ? grown.width() : 0, grown.height()));
    }
}

void CGraphPage::OnDestroy() {
    m_graph->hide();
    m_graph->setParent(nullptr);
}

std::optional<double> CGraphPage::LeadingNumber(const std::string& text) {
    const std::optional<double> value = ParseDouble(text);
    // The graph keeps its samples as float.
    if (value && std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
    return value;
}

void CGraphPage::AddValue(const CParBase& model) {
    if (!m_running) return;
    const std::optional<double> value = LeadingNumber(model.GetValueText(CParTypeV::kInputLive));
    if (!value) return;
    // The value as the graph keeps it, so that the range is built around the sample actually drawn: a
    // float is coarser than the 0.0001 margin of a steady value from about 2048 on.
    const double v = static_cast<float>(*value);
    if (m_firstPending) {
        m_startTick = m_clock();
        m_graph->SetTitle(model.GetInputUnit());
        m_xMax = 0.0;
        m_dataMin = v;
        m_dataMax = v;
        m_yLow = v - 0.0001;
        m_yHigh = v + 0.0001;
        m_firstPending = false;
    } else {
        m_dataMin = std::min(m_dataMin, v);
        m_dataMax = std::max(m_dataMax, v);
        // Unsigned, so a counter that wrapped since the start still gives the elapsed time.
        m_xMax = static_cast<uint32_t>(m_clock() - m_startTick) / 1000.0;
    }
    // The value range only grows, by 5 % of itself beyond the extremes.
    m_yLow = std::min(m_dataMin - 0.05 * (m_yHigh - m_yLow), m_yLow);
    m_yHigh = std::max(m_dataMax + 0.05 * (m_yHigh - m_yLow), m_yHigh);
    m_graph->AddSample(static_cast<float>(m_xMax), static_cast<float>(v));
    if (m_xMax == 0.0) m_xMax = 0.1;
    m_graph->SetRange(m_xMin, m_xMax, m_yLow, m_yHigh);
    Repaint();
}

void CGraphPage::OnBnClickedStart() {
    if (m_running) return;
    m_firstPending = true;
    m_xMin = 0.0;
    m_xMax = 0.0;
    m_yLow = -0.001;
    m_yHigh = 0.001;
    m_graph->SetMode(CGraph::kModeLive);
    m_graph->Clear();
    m_graph->SetRange(m_xMin, m_xMax, m_yLow, m_yHigh);
    Repaint();
    m_running = true;
    EnableDlgItem(kPrint, false);
    EnableDlgItem(kStart, false);
    EnableDlgItem(kClose, false);
    EnableDlgItem(kStop, true);
}

void CGraphPage::OnBnClickedStop() {
    if (!m_running) return;
    m_running = false;
    EnableDlgItem(kPrint, true);
    EnableDlgItem(kStart, true);
    EnableDlgItem(kClose, true);
    EnableDlgItem(kStop, false);
    m_graph->SetMode(CGraph::kModeInteractive);
    Repaint();
}

void CGraphPage::OnBnClickedClose() {
    OnBnClickedStop();
    // The main dialog takes the window down on this notice, never this handler.
    Notify();
}

void CGraphPage::OnBnClickedPrint() {
    CPrintDialog dialog(QStringLiteral("Graph"));
    if (dialog.DoModal() != IDOK) return;
    if (!m_graph->Print(dialog.GetPrinter())) AfxMessageBox(LoadString(kStrPrintFailed), MB_ICONERROR);
}

void CGraphPage::Repaint() {
    m_graph->SetDirty();
    m_graph->update();
}
