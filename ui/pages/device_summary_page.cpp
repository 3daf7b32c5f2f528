#include "ui/pages/device_summary_page.h"

#include "ui/framework/report_list_ctrl.h"

bool CDeviceSummaryPage::OnInitDialog() {
    m_list.Initialize(GetDlgItemAs<CReportListCtrl>(kParameterList));
    return true;
}

void CDeviceSummaryPage::OnShowWindow(bool show) {
    if (!show) OnCancel();
}
