#include "ui/pages/input_setting_page.h"

#include <QWidget>

#include <algorithm>
#include <string>

#include "model/set/par_base.h"
#include "ui/framework/report_list_ctrl.h"

namespace {
constexpr int kGapAboveButtons = 4;
}  // namespace

CInputSettingPage::CInputSettingPage() : CDialog(132) {
    MapClicked(kTableButton1, [this] { OnButton1(); });
    MapClicked(kTableButton2, [this] { OnButton2(); });
}

bool CInputSettingPage::OnInitDialog() {
    m_group = 0;
    m_list.Initialize(GetDlgItemAs<CReportListCtrl>(kParameterList));
    return true;
}

void CInputSettingPage::ShowParameters(CParBase* set, int group) {
    const bool otherGroup = group != m_group;
    m_set = set;
    m_group = group;
    // The tables differ between models as between groups: the buttons follow every set shown.
    LayOutButtons();
    m_list.SetParameterSet(m_set, m_group);
    m_list.Refresh();
    // A row index of the last group names an unrelated parameter in this one.
    CReportListCtrl* view = m_list.GetList();
    if (otherGroup && view && view->GetItemCount() > 0) {
        view->SelectOnly(0);
        view->EnsureVisible(0);
    }
}

void CInputSettingPage::SetReadOnly(bool readOnly) {
    m_list.SetReadOnly(readOnly);
    m_list.Repaint();
    EnableDlgItem(kTableButton1, !readOnly);
    EnableDlgItem(kTableButton2, !readOnly);
}

void CInputSettingPage::LayOutButtons() {
    QWidget* list = GetDlgItem(kParameterList);
    QWidget* button1 = GetDlgItem(kTableButton1);
    QWidget* button2 = GetDlgItem(kTableButton2);
    if (!list || !button1 || !button2) return;
    const std::string title1 = m_set ? m_set->GetTableTitle(m_group, 0) : std::string();
    const std::string title2 = m_set ? m_set->GetTableTitle(m_group, 1) : std::string();
    button1->hide();
    button2->hide();
    const QRect area = list->geometry();
    if (!title1.empty()) {
        list->setGeometry(area.x(), area.y(), area.width(),
                          button1->geometry().top() - kGapAboveButtons - area.y());
        SetDlgItemText(kTableButton1, title1);
        button1->show();
    }
    if (!title2.empty()) {
        list->setGeometry(area.x(), area.y(), area.width(),
                          button2->geometry().top() - kGapAboveButtons - area.y());
        SetDlgItemText(kTableButton2, title2);
        button2->show();
    }
    if (title1.empty() && title2.empty()) {
        const int bottom = std::max(button1->geometry().bottom(), button2->geometry().bottom());
        list->setGeometry(area.x(), area.y(), area.width(), bottom + 1 - area.y());
    }
    m_list.CancelEdit();
}

void CInputSettingPage::OnButton1() {
    if (!m_set) return;
    m_set->EditTable(m_group, 0);
    m_list.SetParameterSet(m_set, m_group);
    m_list.Refresh();
}

void CInputSettingPage::OnButton2() {
    if (m_set) m_set->EditTable(m_group, 1);
}
