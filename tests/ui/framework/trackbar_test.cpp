#include "ui/framework/trackbar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <functional>
#include <string>

#include "ui/framework/dialog.h"

namespace {
// The scroll codes a trackbar reports while `act` runs, as "code@pos;" each.
std::string Reports(const std::function<void(CTrackbar&)>& act, int start = 5) {
    CTrackbar bar(Qt::Horizontal, nullptr);
    bar.resize(200, 24);
    bar.setRange(0, 10);
    bar.setPageStep(3);
    bar.setValue(start);
    std::string log;
    QObject::connect(&bar, &CTrackbar::Scrolled, [&log](int code, int pos) {
        log += std::to_string(code) + "@" + std::to_string(pos) + ";";
    });
    act(bar);
    return log;
}

void SendKey(QWidget& target, QEvent::Type type, int key, bool autoRepeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&target, &event);
}

void SendWheel(QWidget& target, int delta) {
    const QPointF at(10, 10);
    QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&target, &event);
}

void SendMouse(QWidget& target, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, QPointF(at), target.mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}
}  // namespace

// Each move ends with exactly one end of scroll, whatever made it.
TEST(Trackbar, EveryMoveEndsWithOneEndOfScroll) {
    const struct {
        const char* name;
        std::function<void(CTrackbar&)> act;
        std::string expected;
    } cases[] = {
        {"key held down",
         [](CTrackbar& bar) {
             SendKey(bar, QEvent::KeyPress, Qt::Key_Right);
             SendKey(bar, QEvent::KeyRelease, Qt::Key_Right, true);
             SendKey(bar, QEvent::KeyPress, Qt::Key_Right, true);
             SendKey(bar, QEvent::KeyRelease, Qt::Key_Right);
         },
         "1@6;1@7;8@7;"},
        {"end key",
         [](CTrackbar& bar) {
             SendKey(bar, QEvent::KeyPress, Qt::Key_End);
             SendKey(bar, QEvent::KeyRelease, Qt::Key_End);
         },
         "7@10;8@10;"},
        {"other key released", [](CTrackbar& bar) { SendKey(bar, QEvent::KeyRelease, Qt::Key_A); }, ""},
        // One notch moves three lines, down for a turn toward the user.
        {"wheel step", [](CTrackbar& bar) { SendWheel(bar, -120); }, "0@2;8@2;"},
        {"thumb dragged",
         [](CTrackbar& bar) {
             bar.setSliderDown(true);
             bar.setSliderPosition(8);
             bar.setSliderPosition(5);
             bar.setSliderDown(false);
         },
         "5@8;5@5;4@5;8@5;"},
        {"track clicked right of the thumb",
         [](CTrackbar& bar) {
             const QPoint at(bar.width() - 3, bar.height() / 2);
             SendMouse(bar, QEvent::MouseButtonPress, at);
             SendMouse(bar, QEvent::MouseButtonRelease, at);
         },
         "3@8;8@8;"},
    };
    for (const auto& c : cases) EXPECT_EQ(Reports(c.act), c.expected) << c.name;
}
