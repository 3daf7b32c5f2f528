// The program as it ships (its protocol pauses at a hundredth), with a user who takes the steps of
// BRIMLOW_SCRIPT one after another, each as soon as the window allows it: a button's text, or "tab:" and a
// device tab's text. Without a script the user presses Connect, ticks Unlock and starts a download. The
// process tests start it against a simulated device and then do to it what the outside world does: send it a
// signal.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <QTabBar>
#include <QTimer>

#include <cstdlib>

#include "platform/resource_module.h"
#include "platform/timing.h"
#include "res/en/english_tables.h"
#include "ui/app/vort_app.h"

namespace {
bool Usable(const QWidget* widget) { return widget->isVisible() && widget->isEnabled(); }

// Takes the step if the window allows it now.
bool Take(const QString& step) {
    const bool tab = step.startsWith(QLatin1String("tab:"));
    const QString text = tab ? step.mid(4) : step;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (!Usable(widget)) continue;
        if (auto* bar = qobject_cast<QTabBar*>(widget); tab && bar) {
            for (int i = 0; i < bar->count(); ++i) {
                if (bar->tabText(i) != text || !bar->isTabEnabled(i)) continue;
                bar->setCurrentIndex(i);
                return true;
            }
        }
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!tab && button && button->text() == text) {
            button->click();
            return true;
        }
    }
    return false;
}

void StartUser() {
    const char* script = std::getenv("BRIMLOW_SCRIPT");
    const QStringList steps = QString::fromUtf8(script ? script : "Connect|Unlock|< Download").split('|');
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, steps, next = 0]() mutable {
        if (next < steps.size() && Take(steps[next])) ++next;
        if (next == steps.size()) timer->stop();
    });
    timer->start(20);
}
}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartUser)

int main(int argc, char** argv) {
    InstallOwnResources(EnglishResourceTables());
    // The protocol's pauses at a hundredth, as the tests in one process run them; time-outs keep their
    // length.
    CTiming::SetDivisor(100);
    CVORTApp app;
    return app.Run(argc, argv);
}
