#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "platform/resource_module.h"
#include "res/en/english_tables.h"
#include "ui/app/signal_watcher.h"
#include "ui/framework/application_style.h"

// The user interface tests share one QApplication, made as the program makes its own.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallOwnResources(EnglishResourceTables());
    // As the program does: the signal watchers of the tests take them on their own thread.
    CSignalWatcher::BlockTerminationSignals();
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ApplyApplicationStyle();
    return RUN_ALL_TESTS();
}
