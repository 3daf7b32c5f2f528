#include <QApplication>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "ui/framework/dialog_font.h"

// The user interface tests share one QApplication, made as the program makes its own.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(DialogFont());
    return RUN_ALL_TESTS();
}
