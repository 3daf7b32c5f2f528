#include "ui/admin/chosen_list.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>

namespace {
class CWheelWhenOpen : public QObject {
public:
    explicit CWheelWhenOpen(QComboBox* list) : QObject(list), m_list(list) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_list || event->type() != QEvent::Wheel) return false;
        return !(m_list->hasFocus() && m_list->view()->isVisible());
    }

private:
    QComboBox* m_list;
};
}  // namespace

void TakeWheelOnlyWhenOpen(QComboBox* list) { list->installEventFilter(new CWheelWhenOpen(list)); }
