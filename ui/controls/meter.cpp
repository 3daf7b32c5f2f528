#include "ui/controls/meter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/c_number.h"

namespace {
constexpr int kLeastPixels = 8;

// The widget's font, made smaller until a scale label fits `width` (down to a readable least).
QFont FittedFont(const QFont& base, const QString& text, int width) {
    QFont font = base;
    int pixels = QFontInfo(base).pixelSize();
    while (pixels > kLeastPixels && QFontMetrics(font).horizontalAdvance(text) > width) {
        font.setPixelSize(--pixels);
    }
    return font;
}

// Centred in its line in the font the painter holds; cut at the right when the line is too wide. Returns
// whether it had to be cut.
bool DrawCentred(QPainter& painter, const QRect& area, const std::string& text) {
    const QString whole = QString::fromStdString(text);
    const QString shown = painter.fontMetrics().elidedText(whole, Qt::ElideRight,
                                                           area.width() - 2 * CMeter::kTextMargin);
    painter.drawText(area, Qt::AlignCenter, shown);
    return shown != whole;
}
}  // namespace

const QColor CMeter::kBarColour(50, 220, 110);
const QColor CMeter::kBarBackgroundColour(150, 150, 150);
const QColor CMeter::kValueColour(50, 50, 255);

CMeter::CMeter(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

double CMeter::CalcTickStep(double span) {
    double v = std::fabs(span) / 5.0;
    if (v == 0.0 || !std::isfinite(v)) return 0.0;
    double m = 1.0;
    if (v >= 1.0) {
        while (std::trunc(v) >= 10.0) {
            v /= 10.0;
            m *= 10.0;
        }
    } else {
        while (std::trunc(v) < 1.0) {
            v *= 10.0;
            m /= 10.0;
        }
    }
    static constexpr double kLeading[] = {1, 1, 2, 5, 5, 5, 10, 10, 10, 10};
    double step = kLeading[std::clamp(static_cast<int>(v), 0, 9)] * m;
    if (step <= 0.0001) step = 0.0001;
    return span < 0 ? -step : step;
}

std::string CMeter::ScaleLabel(double t, double step) {
    int decimals = 0;
    for (double unit = 1.0; decimals < 4 && std::fabs(step) < unit * 0.99999; unit /= 10.0) ++decimals;
    std::string label = FormatC("%.*lf", decimals, t);
    // A sum of steps that lands just below zero must not show as "-0".
    if (std::strtod(label.c_str(), nullptr) == 0.0 && label[0] == '-') label.erase(0, 1);
    return label;
}

double CMeter::RoundToStep(double x, double step) {
    const double q = x / step;
    return q >= 0 ? std::trunc(q + 0.5) * step : std::trunc(q - 0.5) * step;
}

void CMeter::SetScale(double lo, double hi, double step) {
    m_lo = lo;
    m_hi = hi;
    m_step = step;
    MarkDirty();
}

void CMeter::SetValue(std::optional<double> value) {
    m_value = value;
    MarkDirty();
}

void CMeter::SetTexts(const char* line1, const char* line2) {
    m_line1 = line1 ? line1 : "";
    m_line2 = line2 ? line2 : "";
    MarkDirty();
}

void CMeter::SetTitle(const std::string& title) {
    m_title = title;
    MarkDirty();
}

void CMeter::MarkDirty() {
    m_dirty = true;
    update();
}

void CMeter::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    if (m_picture.size() != size() * ratio) {
        m_picture = QPixmap(size() * ratio);
        m_picture.setDevicePixelRatio(ratio);
        m_dirty = true;
    }
    if (m_dirty) {
        QPainter painter(&m_picture);
        Draw(painter);
        m_dirty = false;
    }
    QPainter(this).drawPixmap(0, 0, m_picture);
}

void CMeter::Draw(QPainter& painter) {
    const int left = 0;
    const int top = 0;
    const int right = width();
    const int bottom = height();
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int h = metrics.height();
    const QColor textColour = palette().color(QPalette::WindowText);

    painter.fillRect(rect(), palette().color(QPalette::Window));
    m_labels.clear();
    m_bar = QRect(QPoint(left, top + 2 + 2 * h), QPoint(right - (right - left) / 2 - 1, bottom - 2 * h - 2));
    painter.fillRect(QRect(left, bottom - 2 * h, right - left, 2 * h + 1), Qt::white);
    if (m_lo == m_hi) return;

    const int barTop = m_bar.top();
    const int barBottom = m_bar.bottom() + 1;
    // Clipped while still a fraction, so a value far outside the range cannot overflow the conversion;
    // anything beyond [-1, 2] lies outside the picture anyway.
    const double fraction = m_value ? std::clamp((*m_value - m_lo) / (m_hi - m_lo), -1.0, 2.0) : -1.0;
    const int y = std::max(ToInt32Trunc(barBottom - (barBottom - barTop) * fraction), top);
    if (y < barBottom)
        painter.fillRect(QRect(QPoint(left, y), QPoint(m_bar.right(), barBottom - 1)), kBarColour);
    if (y > top) {
        const int greyEnd = std::min(y, barBottom);
        painter.fillRect(QRect(QPoint(left, top), QPoint(m_bar.right(), greyEnd - 1)), kBarBackgroundColour);
    }

    painter.setPen(textColour);
    // Scale labels stand in the right half, beside the bar, never over it.
    const int labelLeft = m_bar.right() + 2;
    double t = RoundToStep(m_lo, m_step);
    for (int tick = 0; tick < kMaxTicks && t <= m_hi + 0.00001; ++tick, t += m_step) {
        const double at = std::clamp((t - m_lo) / (m_hi - m_lo), -1.0, 2.0);
        const int yt = ToInt32Trunc(barBottom - at * (barBottom - barTop));
        if (yt > barBottom) continue;
        const QRect area(labelLeft, yt - h, right - 1 - labelLeft, h);
        const QString whole = QString::fromStdString(ScaleLabel(t, m_step));
        painter.setFont(FittedFont(font(), whole, area.width()));
        // Too long even in the least font: cut visibly rather than run into the bar.
        const QString label = painter.fontMetrics().elidedText(whole, Qt::ElideRight, area.width());
        m_labels.push_back(painter.boundingRect(area, Qt::AlignRight | Qt::AlignBottom, label));
        painter.drawText(area, Qt::AlignRight | Qt::AlignBottom, label);
        painter.drawLine(left, yt, right, yt);
    }

    painter.setFont(font());
    painter.setPen(kValueColour);
    const int lineHeight = metrics.height();
    const bool cut1 = DrawCentred(painter, QRect(left, barBottom + 1, right - left, lineHeight), m_line1);
    const bool cut2 = DrawCentred(painter, QRect(left, barBottom + 1 + lineHeight, right - left, lineHeight),
                                  m_line2);
    setToolTip(cut1 || cut2 ? QString::fromStdString(m_line1 + "\n" + m_line2).trimmed() : QString());
    painter.fillRect(QRect(left, top, right - left, std::max(0, (barTop - top) - lineHeight)), Qt::white);
    DrawCentred(painter, QRect(left, top + 1, right - left, lineHeight), m_title);
}
