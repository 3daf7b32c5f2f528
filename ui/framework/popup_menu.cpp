#include "ui/framework/popup_menu.h"

#include <QAction>
#include <QMenu>
#include <QString>

#include "ui/framework/dialog_font.h"

namespace {
CPopupMenu::Hook& TheHook() {
    static CPopupMenu::Hook hook;
    return hook;
}
}  // namespace

void CPopupMenu::SetHook(Hook hook) { TheHook() = std::move(hook); }

void CPopupMenu::AppendItem(const std::string& text, int command, bool checked) {
    m_items.push_back(Item{text, command, checked});
}

int CPopupMenu::Track(QPoint screenPoint, bool rightAlign) const {
    if (TheHook()) return TheHook()(*this, screenPoint, rightAlign);
    QMenu menu;
    menu.setFont(DialogFont());
    for (const Item& item : m_items) {
        QAction* action = menu.addAction(QString::fromStdString(item.text));
        action->setData(item.command);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
    }
    QPoint at = screenPoint;
    if (rightAlign) at.rx() -= menu.sizeHint().width();
    QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toInt() : 0;
}
