#include "ui/framework/combo_box.h"

#include <QSignalBlocker>

CComboBox::CComboBox(QWidget* parent) : QComboBox(parent) {}

void CComboBox::ResetContent() {
    const QSignalBlocker quiet(this);
    clear();
}

void CComboBox::AddStrings(const std::vector<std::string>& items) {
    const QSignalBlocker quiet(this);
    for (const std::string& item : items) addItem(QString::fromStdString(item));
}

void CComboBox::SetCurSel(int index) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
}
