// The program as it ships, with a user who presses Connect, ticks Unlock and starts a download, each as
// soon as the window allows it. The process tests start it against a simulated device and then do to it
// what the outside world does: send it a signal.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include "platform/resource_module.h"
#include "res/en/english_tables.h"
#include "ui/app/vort_app.h"

namespace {
QAbstractButton* Button(const char* text) {
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (button != nullptr && button->text() == QLatin1String(text) && button->isVisible() &&
            button->isEnabled())
            return button;
    }
    return nullptr;
}

void StartUser() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, step = 0]() mutable {
        const char* const steps[] = {"Connect", "Unlock", "< Download"};
        if (QAbstractButton* button = Button(steps[step])) {
            button->click();
            if (++step == 3) timer->stop();
        }
    });
    timer->start(20);
}
}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartUser)

int main(int argc, char** argv) {
    InstallOwnResources(EnglishResourceTables());
    CVORTApp app;
    return app.Run(argc, argv);
}
