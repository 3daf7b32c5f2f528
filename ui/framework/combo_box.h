#pragma once

#include <QComboBox>

#include <string>
#include <vector>

// A drop-down list whose contents and selection are set from code without notifying anyone: only the
// user's choice reaches its owner (through QComboBox::activated).
class CComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit CComboBox(QWidget* parent);

    void ResetContent();
    void AddStrings(const std::vector<std::string>& items);
    // -1 clears the selection.
    void SetCurSel(int index);
    int GetCurSel() const { return currentIndex(); }
};
