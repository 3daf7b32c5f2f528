#include "ui/pages/input_setting_page.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include "model/rtd/par_type_r.h"
#include "model/universal/par_type_u2.h"
#include "platform/admin_mode.h"
#include "support/table_service_stub.h"
#include "ui/page_host.h"

namespace {
class InputSettingPageTest : public testing::Test {
protected:
    void SetUp() override { host.Place(page); }
    void TearDown() override { SetAdminMode(false); }

    QWidget* Item(int id) { return page.GetDlgItem(id); }
    CReportListCtrl& View() { return *page.GetList().GetList(); }

    CPageHost host;
    CInputSettingPage page;
};
}  // namespace

TEST_F(InputSettingPageTest, TheTableButtonsFollowTheTitlesOfTheGroupShown) {
    CParTypeR rtd;
    const QRect button1 = Item(CInputSettingPage::kTableButton1)->geometry();
    const QRect button2 = Item(CInputSettingPage::kTableButton2)->geometry();
    const int top = Item(CInputSettingPage::kParameterList)->geometry().top();
    const struct {
        const char* label;
        bool admin;
        int group;
        bool shows1;
        bool shows2;
        int listBottom;
    } cases[] = {
        {"no titles", false, kGroupFineAdjust, false, false, std::max(button1.bottom(), button2.bottom())},
        {"one title", false, kGroupTable, true, false, button1.top() - 5},
        {"no titles again", false, kGroupBasic, false, false, std::max(button1.bottom(), button2.bottom())},
        {"two titles", true, kGroupTable, true, true, button2.top() - 5},
    };
    for (const auto& c : cases) {
        SetAdminMode(c.admin);
        page.ShowParameters(&rtd, c.group);
        EXPECT_EQ(Item(CInputSettingPage::kTableButton1)->isVisible(), c.shows1) << c.label;
        EXPECT_EQ(Item(CInputSettingPage::kTableButton2)->isVisible(), c.shows2) << c.label;
        const QRect list = Item(CInputSettingPage::kParameterList)->geometry();
        EXPECT_EQ(list.top(), top) << c.label;
        EXPECT_EQ(list.bottom(), c.listBottom) << c.label;
        if (c.shows1) {
            EXPECT_EQ(page.GetDlgItemText(CInputSettingPage::kTableButton1), rtd.GetTableTitle(c.group, 0));
        }
        if (c.shows2) {
            EXPECT_EQ(page.GetDlgItemText(CInputSettingPage::kTableButton2), rtd.GetTableTitle(c.group, 1));
        }
        EXPECT_EQ(View().GetItemCount(), rtd.GetParamCount(c.group)) << c.label;
        // Switch groups away so the next case lays out anew.
        page.ShowParameters(&rtd, 99);
    }
}

TEST_F(InputSettingPageTest, EveryModelShownBringsItsButtonsAndAnotherGroupStartsAtItsFirstRow) {
    CParTypeR rtd;
    CParTypeU2 millivolt;
    const int picked = 3;
    const struct {
        const char* label;
        CParBase* from;
        int fromGroup;
        CParBase* to;
        int toGroup;
        bool shows1;
        int selected;
    } cases[] = {
        {"same group, a model without tables", &rtd, kGroupTable, &millivolt, kGroupTable, false, picked},
        {"same group, a model with tables", &millivolt, kGroupTable, &rtd, kGroupTable, true, picked},
        {"other group", &rtd, kGroupBasic, &rtd, kGroupTable, true, 0},
        {"other group and model", &rtd, kGroupTable, &millivolt, kGroupBasic, false, 0},
    };
    for (const auto& c : cases) {
        // Each change starts from a page laid out for its first set.
        page.ShowParameters(nullptr, kGroupIdentity);
        page.ShowParameters(c.from, c.fromGroup);
        View().SelectOnly(picked);
        page.ShowParameters(c.to, c.toGroup);
        EXPECT_EQ(Item(CInputSettingPage::kTableButton1)->isVisible(), c.shows1) << c.label;
        EXPECT_EQ(View().GetItemCount(), c.to->GetParamCount(c.toGroup)) << c.label;
        EXPECT_EQ(View().GetFirstSelected(), c.selected) << c.label;
    }
}

TEST_F(InputSettingPageTest, TheFirstButtonRefreshesTheListAfterItsTableAndTheSecondDoesNot) {
    SetAdminMode(true);
    CTableServiceStub tables;
    CParTypeR rtd;
    page.ShowParameters(&rtd, kGroupTable);
    page.GetList().SetReadOnly(false);
    const int row = 2;
    const int32_t code = rtd.GetParamId(kGroupTable, row);
    const std::string before = View().GetItemText(row, 2);
    rtd.SetValue(code, rtd.GetValue(code) + 1, false);
    const std::string after = rtd.FormatValue(code, rtd.GetValue(code), true);
    ASSERT_NE(before, after);

    page.GetDlgItemAs<QPushButton>(CInputSettingPage::kTableButton2)->click();
    EXPECT_EQ(tables.rtdViews, 1);
    EXPECT_EQ(View().GetItemText(row, 2), before);

    tables.accept = false;
    page.GetDlgItemAs<QPushButton>(CInputSettingPage::kTableButton1)->click();
    EXPECT_EQ(tables.shownUnit, rtd.GetValue(CParTypeR::kDisplayUnit));
    EXPECT_EQ(View().GetItemText(row, 2), after);
}

TEST_F(InputSettingPageTest, CancellingThePageClosesAnOpenEditorWithoutCommitting) {
    CParTypeR rtd;
    page.ShowParameters(&rtd, kGroupBasic);
    page.GetList().SetReadOnly(false);
    View().SelectOnly(7);
    page.GetList().BeginEdit(-1);
    CEditText& text = *page.GetList().GetEditor().GetTextEditor();
    ASSERT_TRUE(text.isVisible());
    const std::string shown = View().GetItemText(7, 2);
    QTest::keyClicks(&text, "3");
    page.DispatchCancel();
    EXPECT_FALSE(text.isVisible());
    EXPECT_EQ(View().GetItemText(7, 2), shown);
}
