#include "ui/controls/graph.h"

#include <QPalette>

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/c_number.h"

namespace {
// The view never leaves 10000 hours in x and a million in y.
constexpr double kXBound = 36000000.0;
constexpr double kYBound = 1000000.0;
constexpr double kMinXSpan = 0.001;
constexpr double kMinYSpan = 0.0001;

// Keeps [low, high] inside [lower, upper] by shifting it, then cutting what still sticks out.
void ShiftInside(double& low, double& high, double lower, double upper) {
    if (high > upper) {
        const double shift = high - upper;
        high = upper;
        low = std::max(low - shift, lower);
    }
    if (low < lower) {
        high = std::min(high + (lower - low), upper);
        low = lower;
    }
}
}  // namespace

CGraph::CGraph(QWidget* parent) : QWidget(parent) {
    const QPalette& colours = palette();
    m_backgroundColour = colours.color(QPalette::Base);
    m_textColour = colours.color(QPalette::Text);
    m_gridColour = colours.color(QPalette::Text);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGraph::SetRange(double xMin, double xMax, double yMin, double yMax) {
    if (xMin == xMax) xMax += 0.1;
    if (yMin == yMax) yMax += 0.1;
    SetViewRange(xMin, xMax, yMin, yMax);
}

void CGraph::SetViewRange(double xMin, double xMax, double yMin, double yMax) {
    View view{xMin, xMax, yMin, yMax};
    // An inverted range is re-centred like a narrow one.
    if (!(xMax - xMin >= kMinXSpan)) {
        view.xMax = (xMin + xMax) * 0.5 + kMinXSpan / 2;
        view.xMin = view.xMax - kMinXSpan;
    }
    if (!(yMax - yMin >= kMinYSpan)) {
        view.yMax = (yMin + yMax) * 0.5 + kMinYSpan / 2;
        view.yMin = view.yMax - kMinYSpan;
    }
    ShiftInside(view.xMin, view.xMax, m_negativeX ? -kXBound : 0.0, kXBound);
    ShiftInside(view.yMin, view.yMax, -kYBound, kYBound);
    m_view = view;

    int digits = 0;
    m_xStep = CalcTickStep(view.xMax - view.xMin, &digits);
    m_xFormat = m_timeAxis ? MakeTimeFormat(m_xStep, digits) : MakeNumberFormat(m_xStep, digits);
    m_xDecimals = m_xStep >= 1.0 ? 0 : digits;
    m_yStep = CalcTickStep(view.yMax - view.yMin, &digits);
    m_yFormat = MakeNumberFormat(m_yStep, digits);
    m_dirty = true;
    m_recomputeScales = true;
}

void CGraph::AddSample(float x, float y) {
    m_samples.Add(x, y);
    m_dirty = true;
}

void CGraph::Clear() {
    m_samples.Clear();
    m_dirty = true;
}

void CGraph::SetTitle(const std::string& title) { m_title = title; }

double CGraph::CalcTickStep(double span, int* digits) {
    // A span of no width (or not a number) has no grid.
    if (!(span > 0.0) || !std::isfinite(span)) return 0.0;
    static constexpr std::array<double, 10> kLeading = {1, 1, 2, 5, 5, 5, 10, 10, 10, 10};
    double d = span / 5.0;
    double m = 1.0;
    int count = 0;
    if (d >= 1.0) {
        count = 1;
        while (std::trunc(d) >= 10.0) {
            d /= 10.0;
            m *= 10.0;
            ++count;
        }
    } else {
        while (std::trunc(d) <= 0.0) {
            d *= 10.0;
            m /= 10.0;
            ++count;
        }
    }
    *digits = count;
    return kLeading[static_cast<std::size_t>(std::clamp(std::trunc(d), 0.0, 9.0))] * m;
}

double CGraph::CalcFirstTick(double min, double step) {
    if (step == 0.0) return 0.0;
    return std::trunc(min / step) * step;
}

std::string CGraph::MakeTimeFormat(double step, int digits) {
    if (step >= 1.0) return "%d:%02d:%02.0lf";
    return FormatC("%%d:%%02d:%%0%d.%dlf", digits + 3, digits);
}

std::string CGraph::MakeNumberFormat(double step, int digits) {
    if (step >= 1.0) return FormatC("%%%d.0lf%s", digits, "");
    return FormatC("%%.%dlf%s", digits, "");
}

std::string CGraph::FormatTimeLabel(const std::string& format, double t, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(t * scale) / scale;
    const double a = std::fabs(rounded);
    const int hours = ToInt32Trunc(a / 3600.0);
    const int minutes = ToInt32Trunc(std::fmod(std::trunc(a / 60.0), 60.0));
    const std::string text = FormatC(format.c_str(), hours, minutes, std::fmod(a, 60.0));
    return rounded < 0 ? "-" + text : text;
}

std::string CGraph::FormatNumberLabel(const std::string& format, double value) {
    std::string text = FormatC(format.c_str(), value);
    // A tick reached by truncation or repeated addition may lie a hair below zero: no "-0" or "-0.00".
    const std::size_t minus = text.find('-');
    if (minus == std::string::npos || text.find_first_not_of("0.", minus + 1) != std::string::npos)
        return text;
    // A padded label keeps its width.
    if (minus > 0) {
        text[minus] = ' ';
    } else {
        text.erase(0, 1);
    }
    return text;
}

std::string CGraph::XLabel(double t) const {
    return m_timeAxis ? FormatTimeLabel(m_xFormat, t, m_xDecimals) : FormatNumberLabel(m_xFormat, t);
}
