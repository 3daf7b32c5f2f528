#include "ui/framework/application_style.h"

#include <QApplication>
#include <QStyleFactory>

#include "ui/framework/dialog_font.h"

void ApplyApplicationStyle() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(DialogFont());
    qApp->setStyleSheet(QStringLiteral("QLineEdit:read-only { background: palette(window); }"));
}
