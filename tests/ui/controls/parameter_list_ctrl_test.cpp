#include "ui/controls/parameter_list_ctrl.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include "model/set/output_stage.h"
#include "ui/controls/list_fixture.h"

TEST(ParameterList, RowsFollowTheGroupAndOnlyChangedCellsAreWritten) {
    ListFixture f;
    const struct {
        int group;
        const char* label;
    } steps[] = {
        {kGroupIdentity, "shorter"}, {kGroupBasic, "longer"}, {5, "empty"}, {kGroupDeviceInfo, "again"}};
    for (const auto& step : steps) {
        f.List().SetParameterSet(&f.set, step.group);
        f.List().Refresh();
        ASSERT_EQ(f.View().GetItemCount(), f.set.GetParamCount(step.group)) << step.label;
        for (int row = 0; row < f.View().GetItemCount(); ++row) {
            const int32_t code = f.set.GetParamId(step.group, row);
            EXPECT_EQ(f.View().GetItemData(row), code) << step.label;
            EXPECT_EQ(f.View().GetItemText(row, 1), f.set.GetParamName(code)) << step.label;
            EXPECT_EQ(f.View().GetItemText(row, 2), f.set.FormatValue(code, f.set.GetValue(code), true))
                << step.label;
        }
    }
    EXPECT_EQ(f.View().GetColumnWidth(0), 0);
    EXPECT_EQ(f.View().GetColumnWidth(1) + f.View().GetColumnWidth(2), f.View().viewport()->width());

    // The same rows again touch no cell; a changed value touches its cell and keeps the selection.
    f.List().SetParameterSet(&f.set, kGroupBasic);
    f.List().Refresh();
    f.View().SelectOnly(f.RowOf(CParTypeV::kDamping));
    QSignalSpy changes(f.View().model(), &QAbstractItemModel::dataChanged);
    f.List().Refresh();
    EXPECT_EQ(changes.count(), 0);
    f.set.SetValue(CParTypeV::kDamping, 70000, false);
    f.List().Refresh();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(f.View().GetFirstSelected(), f.RowOf(CParTypeV::kDamping));
    EXPECT_EQ(f.ValueCell(CParTypeV::kDamping), f.set.FormatValue(CParTypeV::kDamping, 70000, true));
}

TEST(ParameterList, OnlyEditableValueCellsOpenAnEditor) {
    const struct {
        const char* label;
        bool readOnly;
        bool protectedKinds;
        int32_t code;
        int column;
        bool byEnter;
        int editor;  // 0 none, 1 choice, 2 text
    } cases[] = {
        {"text", false, true, CParTypeV::kDamping, 2, false, 2},
        {"text by Enter", false, true, CParTypeV::kDamping, 2, true, 2},
        {"choice", false, true, CParTypeR::kSensorWires, 2, false, 1},
        {"read-only list", true, true, CParTypeV::kDamping, 2, false, 0},
        {"read-only list by Enter", true, true, CParTypeV::kDamping, 2, true, 0},
        {"name column", false, true, CParTypeV::kDamping, 1, false, 0},
        {"heading", false, true, CParTypeV::kHeaderInput, 2, false, 0},
        {"read-only row", false, true, CParTypeV::kResistanceRange, 2, false, 0},
        {"protected text", false, false, CParTypeV::kInput0, 2, false, 0},
        {"protected text by Enter", false, false, CParTypeV::kInput0, 2, true, 0},
        {"protected choice", false, false, CParTypeV::kInputType, 2, false, 0},
        {"protected text allowed", false, true, CParTypeV::kInput0, 2, false, 2},
        {"protected choice allowed", false, true, CParTypeV::kInputType, 2, true, 1},
    };
    for (const auto& c : cases) {
        ListFixture f;
        f.List().SetReadOnly(c.readOnly);
        f.List().SetProtectedKinds(c.protectedKinds);
        const int row = f.RowOf(c.code);
        if (c.byEnter) {
            f.View().SelectOnly(row);
            f.List().BeginEdit(-1);
        } else {
            f.Click(row, c.column);
        }
        EXPECT_EQ(f.Text().isVisible(), c.editor == 2) << c.label;
        EXPECT_EQ(f.Choice().isVisible(), c.editor == 1) << c.label;
        EXPECT_EQ(f.View().GetFirstSelected(), row) << c.label;
        if (c.editor == 2) {
            EXPECT_EQ(f.Text().text().toStdString(), f.set.GetValueText(c.code)) << c.label;
            EXPECT_EQ(f.Text().selectedText(), f.Text().text()) << c.label;
            EXPECT_TRUE(f.Text().hasFocus()) << c.label;
        }
    }
}

TEST(ParameterList, ValueCellsAreColouredByWhatMayBeEdited) {
    ListFixture f;
    const auto background = [&](int32_t code, int column) {
        QColor text;
        QColor back;
        EXPECT_TRUE(f.View().CellColour(f.RowOf(code), column, text, back));
        return back;
    };
    const QColor window = f.View().palette().color(QPalette::Base);
    EXPECT_EQ(background(CParTypeV::kDamping, 1), CParameterListCtrl::kNameColour);
    EXPECT_EQ(background(CParTypeV::kHeaderInput, 2), CParameterListCtrl::kNameColour);
    EXPECT_EQ(background(CParTypeV::kDamping, 2), CParameterListCtrl::kEditableColour);
    EXPECT_EQ(background(CParTypeV::kResistanceRange, 2), window);
    EXPECT_EQ(background(CParTypeV::kInput0, 2), CParameterListCtrl::kEditableColour);
    f.List().SetProtectedKinds(false);
    EXPECT_EQ(background(CParTypeV::kInput0, 2), window);
    EXPECT_EQ(background(CParTypeV::kDamping, 2), CParameterListCtrl::kEditableColour);
    f.List().SetReadOnly(true);
    EXPECT_EQ(background(CParTypeV::kDamping, 2), window);
}

TEST(ParameterList, UpAndDownCommitAndMoveTheEditToAnEditableNeighbour) {
    constexpr int32_t kNoOther = -1;
    const struct {
        const char* label;
        int32_t from;
        Qt::Key key;
        int32_t selectedAfter;
        bool editingAfter;
        // Selected besides the edited row; the move leaves it selected.
        int32_t otherSelected;
    } cases[] = {
        {"down onto a text row", CParOutputStage::kOutputHigh, Qt::Key_Down, CParOutputStage::kOutputLow,
         true, kNoOther},
        {"up onto a text row", CParTypeV::kInput100, Qt::Key_Up, CParTypeV::kInput0, true, kNoOther},
        {"down onto a read-only row", CParTypeV::kDamping, Qt::Key_Down, CParTypeV::kResistanceRange, false,
         kNoOther},
        {"down on the last row", CParOutputStage::kBurnoutValue, Qt::Key_Down, CParOutputStage::kBurnoutValue,
         false, kNoOther},
        {"enter stays", CParTypeV::kDamping, Qt::Key_Return, CParTypeV::kDamping, false, kNoOther},
        {"up beside another selected row", CParTypeV::kInput100, Qt::Key_Up, CParTypeV::kInput0, true,
         CParOutputStage::kOutputHigh},
        {"down beside another selected row", CParTypeV::kDamping, Qt::Key_Down, CParTypeV::kResistanceRange,
         false, CParOutputStage::kOutputHigh},
    };
    for (const auto& c : cases) {
        ListFixture f;
        f.ClickValue(c.from);
        ASSERT_TRUE(f.Text().isVisible()) << c.label;
        const int other = c.otherSelected == kNoOther ? -1 : f.RowOf(c.otherSelected);
        f.View().selectionModel()->select(f.View().model()->index(other, 1),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const std::string shown = f.set.GetValueText(c.from);
        QTest::keyClick(&f.Text(), c.key);
        EXPECT_EQ(f.View().GetFirstSelected(), f.RowOf(c.selectedAfter)) << c.label;
        EXPECT_EQ(f.View().currentRow(), f.RowOf(c.selectedAfter)) << c.label;
        EXPECT_EQ(f.View().IsSelected(f.RowOf(c.from)), c.from == c.selectedAfter) << c.label;
        EXPECT_TRUE(other < 0 || f.View().IsSelected(other)) << c.label;
        EXPECT_EQ(f.Text().isVisible(), c.editingAfter) << c.label;
        EXPECT_EQ(f.set.GetValueText(c.from), shown) << c.label;
        if (c.editingAfter) {
            EXPECT_EQ(f.List().GetEditedCode(), c.selectedAfter) << c.label;
            EXPECT_TRUE(f.View().viewport()->rect().intersects(f.Text().geometry())) << c.label;
        } else {
            EXPECT_TRUE(f.View().hasFocus()) << c.label;
        }
    }
}

TEST(ParameterList, ATypedValueIsCommittedAndTheListShowsIt) {
    ListFixture f;
    int notified = 0;
    struct Counter : CObserver {
        int* count;
        explicit Counter(int* c) : count(c) {}
        void Update(CObservable*) override { ++*count; }
    } counter(&notified);
    f.List().Attach(&counter);
    f.ClickValue(CParTypeV::kDamping);
    f.Type("12", Qt::Key_Down);
    EXPECT_EQ(f.set.GetValue(CParTypeV::kDamping), 120000);
    EXPECT_EQ(f.ValueCell(CParTypeV::kDamping), f.set.FormatValue(CParTypeV::kDamping, 120000, true));
    EXPECT_EQ(notified, 1);
}

TEST(ParameterList, AChoiceMadeInTheDropDownIsCommitted) {
    ListFixture f;
    const int32_t before = f.set.GetValue(CParTypeR::kSensorWires);
    f.ClickValue(CParTypeR::kSensorWires);
    ASSERT_TRUE(f.Choice().isVisible());
    EXPECT_EQ(f.Choice().GetCurSel(), before);
    QTest::keyClick(f.Choice().view(), before == 0 ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(f.Choice().view(), Qt::Key_Return);
    ASSERT_TRUE(PumpUntil([&] { return !f.Choice().isVisible(); }));
    EXPECT_NE(f.set.GetValue(CParTypeR::kSensorWires), before);
    EXPECT_EQ(f.ValueCell(CParTypeR::kSensorWires),
              f.set.FormatValue(CParTypeR::kSensorWires, f.set.GetValue(CParTypeR::kSensorWires), true));
}

TEST(ParameterList, EscAndLosingTheFocusCancelWithoutChangingTheValue) {
    for (bool escape : {true, false}) {
        ListFixture f;
        const int32_t before = f.set.GetValue(CParTypeV::kDamping);
        f.ClickValue(CParTypeV::kDamping);
        QTest::keyClicks(&f.Text(), "9");
        if (escape) {
            QTest::keyClick(&f.Text(), Qt::Key_Escape);
        } else {
            f.other->setFocus();
        }
        EXPECT_FALSE(f.Editing()) << escape;
        EXPECT_EQ(f.set.GetValue(CParTypeV::kDamping), before) << escape;
        // The focus stays where the user took it.
        EXPECT_EQ(f.other->hasFocus(), !escape) << escape;
    }
}

TEST(ParameterList, WithSeveralRowsSelectedTheFirstIsEditedAndNavigationStartsThere) {
    ListFixture f;
    f.View().setSelectionMode(QAbstractItemView::MultiSelection);
    f.View().selectRow(f.RowOf(CParOutputStage::kOutputHigh));
    f.View().selectRow(f.RowOf(CParTypeV::kDamping));
    f.View().SetSingleSelection(false);
    f.List().BeginEdit(-1);
    EXPECT_EQ(f.List().GetEditedCode(), CParTypeV::kDamping);
    QTest::keyClick(&f.Text(), Qt::Key_Down);
    EXPECT_EQ(f.View().GetFirstSelected(), f.RowOf(CParTypeV::kResistanceRange));
    EXPECT_TRUE(f.View().IsSelected(f.RowOf(CParOutputStage::kOutputHigh)));
}

TEST(ParameterList, AValueOutOfRangeIsReportedOnceAndTheOldValueStays) {
    ListFixture f;
    std::vector<std::string> texts;
    // The message box takes the focus, as a real one does, while the commit runs.
    SetMessageBoxHook([&](const std::string& text, unsigned) {
        f.other->setFocus();
        texts.push_back(text);
        return IDOK;
    });
    const int32_t before = f.set.GetValue(CParTypeV::kDamping);
    const std::string cell = f.ValueCell(CParTypeV::kDamping);
    f.ClickValue(CParTypeV::kDamping);
    f.Type("99", Qt::Key_Return);
    SetMessageBoxHook(nullptr);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Damping time constant should be from 0 to 30.");
    EXPECT_EQ(f.set.GetValue(CParTypeV::kDamping), before);
    EXPECT_EQ(f.ValueCell(CParTypeV::kDamping), cell);
    EXPECT_FALSE(f.Editing());
}

TEST(ParameterList, DownOntoAHeadingOnlySelectsIt) {
    ListFixture f;
    CParTypeV dc;
    f.List().SetParameterSet(&dc, kGroupBasic);
    f.List().Refresh();
    f.ClickValue(CParTypeV::kDamping);
    ASSERT_TRUE(f.Text().isVisible());
    QTest::keyClick(&f.Text(), Qt::Key_Down);
    EXPECT_EQ(f.View().GetFirstSelected(), f.RowOf(CParTypeV::kHeaderOutput));
    EXPECT_FALSE(f.Editing());
}
