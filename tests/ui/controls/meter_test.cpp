#include "ui/controls/meter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "platform/resource_module.h"
#include "ui/page_host.h"
#include "ui/pages/meter_page.h"

TEST(Meter, TickStepsAreOneTwoOrFiveTimesAPowerOfTen) {
    const struct {
        double span;
        double step;
    } cases[] = {
        {100, 20},   {16, 5},        {1, 0.2},     {0.0001, 0.0001}, {0, 0},
        {-100, -20}, {1e-9, 0.0001}, {7000, 1000}, {12, 2},          {35, 10},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(CMeter::CalcTickStep(c.span), c.step) << c.span;
}

TEST(Meter, RoundToStepRoundsHalvesAwayFromZero) {
    const struct {
        double x;
        double step;
        double rounded;
    } cases[] = {{4, 5, 5}, {2.5, 5, 5}, {-2.5, 5, -5}, {2.4, 5, 0}, {-7.4, 5, -5}, {0.5, 0.2, 0.6}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(CMeter::RoundToStep(c.x, c.step), c.rounded) << c.x;
}

TEST(MeterPage, RangesAreOrderedWidenedAndReadFromTexts) {
    CPageHost host;
    CMeterPage page;
    host.Place(page);
    CMeter* meter = page.GetMeter();
    ASSERT_NE(meter, nullptr);
    const auto expect = [&](double lo, double hi, double step, const char* label) {
        EXPECT_DOUBLE_EQ(meter->GetLo(), lo) << label;
        EXPECT_DOUBLE_EQ(meter->GetHi(), hi) << label;
        EXPECT_DOUBLE_EQ(meter->GetStep(), step) << label;
    };
    page.SetRange(20, 4);
    expect(4, 20, 5, "reversed");
    page.SetRange(1, 1);
    expect(1, 1.0001, 0.0001, "collapsed");
    page.SetRangeText("no number", "");
    expect(0, 100, 20, "no numbers");
    page.SetRangeText(" -50.0 (degC)", "x");
    expect(-50, 50, 20, "no upper number");
}

TEST(MeterPage, AValueTextSplitsAtItsFirstCommaAfterTheFirstCharacter) {
    CPageHost host;
    CMeterPage page;
    host.Place(page);
    CMeter* meter = page.GetMeter();
    const struct {
        const char* text;
        std::optional<double> value;
        const char* line1;
        const char* line2;
    } cases[] = {
        {"12.5000 (mA) , 53.1000 (%), x", 12.5, "12.5000 (mA)", "53.1000 (%), x"},
        {",5 (%)", std::nullopt, " ", ",5 (%)"},
        {"7.2500 (mV)", 7.25, " ", "7.2500 (mV)"},
        {"Burnout", std::nullopt, " ", "Burnout"},
        {"Looptest", std::nullopt, " ", "Looptest"},
    };
    for (const auto& c : cases) {
        page.SetValue(c.text);
        EXPECT_EQ(meter->GetValue(), c.value) << c.text;
        EXPECT_EQ(meter->GetLine1(), c.line1) << c.text;
        EXPECT_EQ(meter->GetLine2(), c.line2) << c.text;
    }
}

namespace {
QImage Picture(CMeter* meter) { return meter->grab().toImage(); }
}  // namespace

TEST(MeterPage, TheBarFillsUpToItsValueAndTheScaleLinesCrossIt) {
    CPageHost host;
    CMeterPage page;
    host.Place(page);
    CMeter* meter = page.GetMeter();

    // Before any range only the background and the white band below are drawn.
    QImage picture = Picture(meter);
    const QColor background = meter->palette().color(QPalette::Window);
    EXPECT_EQ(picture.pixelColor(2, meter->height() / 2), background);
    EXPECT_EQ(picture.pixelColor(2, meter->height() - 2), QColor(Qt::white));

    page.SetRange(20, 4);
    page.SetValue("20");
    picture = Picture(meter);
    const QRect bar = meter->GetBarRect();
    EXPECT_EQ(picture.pixelColor(1, bar.top() + 1), CMeter::kBarColour);
    EXPECT_NE(picture.pixelColor(1, bar.top() - 2), CMeter::kBarColour);
    // The scale line of 10 crosses the bar where 10 stands; the row above it is bar.
    const int barBottom = bar.bottom() + 1;
    const int at10 = static_cast<int>(barBottom - (6.0 / 16.0) * (barBottom - bar.top()));
    EXPECT_EQ(picture.pixelColor(1, at10), meter->palette().color(QPalette::WindowText));
    EXPECT_EQ(picture.pixelColor(1, at10 - 1), CMeter::kBarColour);

    // Half way: grey above, green below.
    page.SetValue("12");
    picture = Picture(meter);
    EXPECT_EQ(picture.pixelColor(1, bar.top() + 3), CMeter::kBarBackgroundColour);
    EXPECT_EQ(picture.pixelColor(1, bar.bottom() - 3), CMeter::kBarColour);
    // Below the range: no green at all.
    page.SetValue("-3");
    picture = Picture(meter);
    EXPECT_EQ(picture.pixelColor(1, bar.bottom() - 3), CMeter::kBarBackgroundColour);
}

TEST(MeterPage, AValueTextThatIsNoNumberShowsNoBar) {
    CPageHost host;
    CMeterPage page;
    host.Place(page);
    CMeter* meter = page.GetMeter();
    page.SetRange(-100, 100);
    page.SetValue("Looptest");
    const QImage picture = Picture(meter);
    EXPECT_EQ(picture.pixelColor(1, meter->GetBarRect().bottom() - 3), CMeter::kBarBackgroundColour);
}

TEST(MeterPage, AValueLineTooWideIsCutInTheWidgetsFontAndWholeInTheTooltip) {
    CPageHost host;
    CMeterPage page;
    host.Place(page);
    CMeter* meter = page.GetMeter();
    page.SetRange(4, 20);
    const int room = meter->width() - 2 * CMeter::kTextMargin;
    QFont large = meter->font();
    large.setPixelSize(2 * QFontInfo(large).pixelSize());
    // In the font it is drawn in, never a smaller one: the line that just fits the room stays whole and
    // one digit more is cut, in the page's font and in one twice as large.
    for (const QFont& font : {meter->font(), large}) {
        meter->setFont(font);
        const QFontMetricsF metrics(font);
        std::string digits = "8";
        while (metrics.horizontalAdvance(QString::fromStdString(digits + "8mA")) <= room) digits += "8";
        const int size = QFontInfo(font).pixelSize();
        page.SetValue(digits + "mA, 0%");
        Picture(meter);
        EXPECT_TRUE(meter->toolTip().isEmpty()) << digits.size() << " digits at " << size << " px";

        const std::string wide = digits + "8mA";
        page.SetValue(wide + ", 0%");
        const QImage picture = Picture(meter);
        EXPECT_EQ(meter->toolTip().toStdString(), wide + "\n0%") << size << " px";
        // Cut, not run over the margins: the line's band stays white there.
        const int top = meter->GetBarRect().bottom() + 2;
        for (int y = top; y < top + QFontMetrics(font).height(); ++y) {
            for (int x :
                 {0, CMeter::kTextMargin - 1, meter->width() - CMeter::kTextMargin, meter->width() - 1}) {
                EXPECT_EQ(picture.pixelColor(x, y), QColor(Qt::white)) << size << " px at " << x << "," << y;
            }
        }
    }
    page.SetValue("4mA, 0%");
    Picture(meter);
    EXPECT_TRUE(meter->toolTip().isEmpty());
}

TEST(MeterPage, ACollapsedRangeWithAFarValueStillDraws) {
    CPageHost host;
    CMeterPage page;
    host.Place(page);
    CMeter* meter = page.GetMeter();
    page.SetRange(1, 1);
    for (const char* far : {"1e300", "-1e300", "123456789"}) {
        page.SetValue(far);
        const QImage picture = Picture(meter);
        const QColor expected = far[0] == '-' ? CMeter::kBarBackgroundColour : CMeter::kBarColour;
        EXPECT_EQ(picture.pixelColor(1, meter->GetBarRect().center().y()), expected) << far;
    }
}

TEST(Meter, ScaleLabelsShowTheDecimalsTheirStepNeeds) {
    const struct {
        double t, step;
        const char* label;
    } cases[] = {{1000.0, 500.0, "1000"}, {-1e-13, 500.0, "0"}, {12.5, 0.5, "12.5"},
                 {0.4, 0.2, "0.4"},       {0.05, 0.05, "0.05"}, {0.0003, 0.0001, "0.0003"}};
    for (const auto& c : cases) EXPECT_EQ(CMeter::ScaleLabel(c.t, c.step), c.label) << c.t;
}

TEST(MeterPage, ScaleLabelsStayBesideTheBarAndInsideTheMeter) {
    CPageHost host;
    CMeterPage page;
    host.Place(page);
    CMeter* meter = page.GetMeter();
    const struct {
        double lo, hi;
    } ranges[] = {{-200, 850}, {4, 20}, {-1000, 1000}, {0, 0.001}, {-99999, 99999}};
    for (const auto& r : ranges) {
        page.SetRange(r.lo, r.hi);
        Picture(meter);
        ASSERT_FALSE(meter->GetLabelRects().empty()) << r.lo;
        for (const QRect& label : meter->GetLabelRects()) {
            EXPECT_FALSE(label.intersects(meter->GetBarRect())) << r.lo << " " << r.hi;
            EXPECT_TRUE(meter->rect().contains(label)) << r.lo << " " << r.hi;
        }
    }
}

TEST(MeterPage, ScreenshotsOfThePairInBothLanguages) {
    for (int language : {0, 1}) {
        CPageHost host(language, QSize(112, 372));
        CMeterPage input;
        CMeterPage output;
        host.Place(input);
        host.Place(output, QPoint(input.GetWindow()->width(), 0));
        input.GetMeter()->SetTitle(LoadString(1019));
        output.GetMeter()->SetTitle(LoadString(1020));
        input.SetRangeText("-200.0", "850.0");
        input.SetValue("-180.000deg C, 0.00%");
        output.SetRange(4, 20);
        output.SetValue("13.3000mA, 58.1250%");
        QApplication::processEvents();
        SaveScreenshot(host.Window(), language ? "meter_page_jpn.png" : "meter_page_en.png");
    }
}
