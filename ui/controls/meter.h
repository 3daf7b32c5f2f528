#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

// A bar meter: a vertical bar in the left half, a numeric scale with lines across the whole width, the
// title above and two lines of value text below. The value lines keep the widget's font; a line too long
// for the width is cut, and the meter's tooltip then holds both lines whole. The picture is drawn into a
// cached pixmap, again only when something shown changed or the size did; every other paint copies the
// pixmap.
class CMeter : public QWidget {
    Q_OBJECT

public:
    static const QColor kBarColour;
    static const QColor kBarBackgroundColour;
    static const QColor kValueColour;
    // The scale stops after this many lines, whatever range and step it is given.
    static constexpr int kMaxTicks = 1000;
    // Pixels kept free at both sides of the title and the value lines, so that the texts of two meters
    // side by side never touch; a line wider than the rest is cut.
    static constexpr int kTextMargin = 2;

    explicit CMeter(QWidget* parent);

    // Distance between scale lines for a span: 1, 2 or 5 times a power of ten, a fifth of the span or
    // less, at least 0.0001; negative for a negative span.
    static double CalcTickStep(double span);
    // The scale's text for `t`: as many decimals as `step` needs (at most four), never "-0".
    static std::string ScaleLabel(double t, double step);
    // `x` rounded to a multiple of `step`, halves away from zero.
    static double RoundToStep(double x, double step);

    // lo below hi; the owner works them out.
    void SetScale(double lo, double hi, double step);
    // No value (a text that is not a number) shows no bar.
    void SetValue(std::optional<double> value);
    // A null text counts as empty.
    void SetTexts(const char* line1, const char* line2);
    void SetTitle(const std::string& title);

    double GetLo() const { return m_lo; }
    double GetHi() const { return m_hi; }
    double GetStep() const { return m_step; }
    std::optional<double> GetValue() const { return m_value; }
    const std::string& GetLine1() const { return m_line1; }
    const std::string& GetLine2() const { return m_line2; }
    const std::string& GetTitle() const { return m_title; }
    // The bar's rectangle at the last drawing.
    const QRect& GetBarRect() const { return m_bar; }
    // Where the scale labels stood at the last drawing.
    const std::vector<QRect>& GetLabelRects() const { return m_labels; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void MarkDirty();
    void Draw(QPainter& painter);

    double m_lo = 0.0;
    double m_hi = 0.0;
    double m_step = 0.0;
    QRect m_bar;
    std::vector<QRect> m_labels;
    std::optional<double> m_value;
    std::string m_line1;
    std::string m_line2;
    std::string m_title;
    QPixmap m_picture;
    bool m_dirty = true;
};
