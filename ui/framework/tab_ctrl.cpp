#include "ui/framework/tab_ctrl.h"

#include <QSignalBlocker>
#include <QString>

CTabCtrl::CTabCtrl(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)), m_pane(new QFrame(this)) {
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_pane->setFrameShape(QFrame::StyledPanel);
    m_pane->lower();
    connect(m_bar, &QTabBar::currentChanged, this, [this](int) { emit SelChanged(); });
}

void CTabCtrl::InsertItem(int index, const std::string& text) {
    const QSignalBlocker quiet(m_bar);
    m_bar->insertTab(index, QString::fromStdString(text));
    resizeEvent(nullptr);
}

void CTabCtrl::DeleteAllItems() {
    const QSignalBlocker quiet(m_bar);
    while (m_bar->count() > 0) m_bar->removeTab(0);
}

int CTabCtrl::GetItemCount() const { return m_bar->count(); }

std::string CTabCtrl::GetItemText(int index) const { return m_bar->tabText(index).toStdString(); }

int CTabCtrl::GetCurSel() const { return m_bar->currentIndex(); }

void CTabCtrl::SetCurSel(int index) {
    const QSignalBlocker quiet(m_bar);
    m_bar->setCurrentIndex(index);
}

QRect CTabCtrl::DisplayRect() const {
    const QRect pane = m_pane->geometry().adjusted(3, 3, -3, -3);
    return pane.translated(pos());
}

void CTabCtrl::PlacePage(QWidget* page) const {
    // A dialog's window has the fixed size of its template; a page takes the tab's instead.
    const QRect area = DisplayRect();
    page->setFixedSize(area.size());
    page->move(area.topLeft());
    page->raise();
    page->hide();
}

void CTabCtrl::resizeEvent(QResizeEvent*) {
    const int barHeight = m_bar->sizeHint().height();
    m_bar->setGeometry(0, 0, width(), barHeight);
    m_pane->setGeometry(0, barHeight - 1, width(), height() - barHeight + 1);
}
