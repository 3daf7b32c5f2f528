#pragma once

#include <QPointer>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/observer.h"
#include "res/dialogs/dialog_140_ids.h"
#include "ui/controls/graph.h"
#include "ui/framework/dialog.h"

class CParBase;

// The trend graph page: a child page over the main dialog that plots the device's input value against
// the time since Start. The main dialog attaches its observer, builds the window with Create, hands
// every successful poll result to AddValue and, when the page notifies (Close), takes the window down
// with DestroyWindow. The page object and its recording live on between windows, so a page opened
// again after Stop shows the last trace until the next Start.
class CGraphPage : public CDialog, public CObservable, public Dialog140Ids {
public:
    // Milliseconds of a free-running counter that wraps at 2^32.
    using TickClock = std::function<uint32_t()>;

    CGraphPage();
    ~CGraphPage() override;

    // Adds the set's live input value at the time since the first value after Start; ignored while not
    // running or when the value text does not begin with a number.
    void AddValue(const CParBase& model);

    // Makes the open page `size` large: the plot takes the growth, the buttons stay below it and Close
    // at the right.
    void Resize(const QSize& size);

    bool IsRunning() const { return m_running; }
    CGraph& GetGraph() { return *m_graph; }
    void SetTickClock(TickClock clock) { m_clock = std::move(clock); }

    // The number a live value text begins with ("12.345mA, 50.00%" gives 12.345); one beyond the range
    // of the graph's samples counts as none.
    static std::optional<double> LeadingNumber(const std::string& text);

protected:
    bool OnInitDialog() override;
    void OnDestroy() override;

private:
    void OnBnClickedStart();
    void OnBnClickedStop();
    void OnBnClickedClose();
    void OnBnClickedPrint();
    void Repaint();

    bool m_running = false;
    double m_xMin = 0.0;
    double m_xMax = 0.0;
    double m_yLow = 0.0;
    double m_yHigh = 0.0;
    double m_dataMin = 0.0;
    double m_dataMax = 0.0;
    bool m_firstPending = false;
    uint32_t m_startTick = 0;
    // Owned here, lent to each window of the page, so the recording outlives the window.
    std::unique_ptr<CGraph> m_graph;
    TickClock m_clock;
};
