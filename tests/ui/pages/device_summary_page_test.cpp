#include "ui/pages/device_summary_page.h"

#include <gtest/gtest.h>

#include "model/rtd/par_type_r.h"
#include "platform/admin_mode.h"
#include "ui/controls/list_fixture.h"
#include "ui/pages/input_setting_page.h"

TEST(DeviceSummaryPage, HidingThePageAbandonsAnOpenEditWithoutCommitting) {
    ListFixture f;
    const int32_t before = f.set.GetValue(CParTypeV::kDamping);
    f.ClickValue(CParTypeV::kDamping);
    QTest::keyClicks(&f.Text(), "12");
    f.page.ShowWindow(false);
    EXPECT_FALSE(f.Editing());
    QTest::keyClick(&f.Text(), Qt::Key_Return);
    EXPECT_EQ(f.set.GetValue(CParTypeV::kDamping), before);
}

TEST(DeviceSummaryPage, ScreenshotsWithAnOpenEditorInBothLanguages) {
    for (int language : {0, 1}) {
        CPageHost host(language, QSize(340, 340));
        CParTypeR set;
        set.SetValue(CParTypeV::kTag, 0, false);
        CDeviceSummaryPage page;
        host.Place(page);
        page.GetList().SetParameterSet(&set, kGroupBasic);
        page.GetList().SetReadOnly(false);
        page.GetList().SetProtectedKinds(false);
        page.GetList().Refresh();
        CReportListCtrl& view = *page.GetList().GetList();
        int row = 0;
        while (view.GetItemData(row) != CParTypeV::kDamping) ++row;
        view.SelectOnly(row);
        page.GetList().BeginEdit(-1);
        ASSERT_TRUE(page.GetList().GetEditor().GetTextEditor()->isVisible());
        QApplication::processEvents();
        SaveScreenshot(host.Window(), language ? "summary_page_jpn.png" : "summary_page_en.png");
    }
}

TEST(InputSettingPage, ScreenshotsWithTheTableButtonsInBothLanguages) {
    SetAdminMode(true);
    for (int language : {0, 1}) {
        CPageHost host(language, QSize(340, 560));
        CParTypeR set;
        CInputSettingPage page;
        host.Place(page);
        page.GetList().SetReadOnly(false);
        page.ShowParameters(&set, kGroupTable);
        QApplication::processEvents();
        SaveScreenshot(host.Window(), language ? "file_page_jpn.png" : "file_page_en.png");
    }
    SetAdminMode(false);
}
