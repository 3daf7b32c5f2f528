#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>
#include <vector>

#include "model/par_editor.h"
#include "model/par_type_v.h"
#include "par_probe.h"
#include "platform/admin_mode.h"

namespace {

TEST(ParTypeVText, DisplayTexts) {
    struct Case {
        int32_t inputType;
        int32_t code, value;
        bool withUnit;
        const char* text;
    } cases[] = {
        {0, 10000, 12345, true, "+1.2345 (mA)"},
        {0, 10000, 0, true, "+0.0000 (mA)"},
        {0, 10000, -12345, true, "-1.2345 (mA)"},
        {0, 10000, 12345, false, "1.2345"},
        {1, 1, 12345, true, "1.2345 (mV)"},
        {2, 2, -12345, true, "-1.2345 (V)"},
        {0, 101, 40000, true, "4.000 (mA)"},
        {0, 101, 40000, false, "4.000"},
        {0, 51, 5000, true, "0.5000 (sec)"},
        {0, 10003, -250, true, "-2.5000 (%)"},
        {0, 10003, 250, true, "+2.5000 (%)"},
        {0, 20002, 500000, true, "50.0000 (%)"},
        {0, 20203, -20000, true, "-2.0000 (%)"},
        {0, 20001, 3, true, "3"},
        {0, 10002, 10000, true, "1.0000"},
        {0, 62004, 7, false, "0"},  // from 60000 up the stored value, not the argument
        {0, 0, 1, false, "DC -1000 - +1000mV"},
        {0, 0, 3, false, ""},
        {0, 0, -1, false, ""},
        {0, 50, 1, true, "Normal speed"},
        {0, 100, 0, false, "DC 4 - 20mA"},
        {0, 100, 2, false, "DC -10V - +10V"},
        {0, 20000, 1, false, "Enabled"},
        {0, 20000, INT32_MIN, false, ""},
        {0, 66, 2, false, "0-500 Ohm"},
        {0, 66, 3, false, ""},
        {0, 62000, 0, true, "Default"},
        {0, 65000, 0, true, ""},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetValue(0, c.inputType, false);
        EXPECT_EQ(set.FormatValue(c.code, c.value, c.withUnit), c.text) << c.code << " " << c.value;
    }
}

TEST(ParTypeVText, StoredTexts) {
    CParProbe set;
    set.SetValue(51, 5000, true);
    set.SetValue(10003, -250, true);
    set.SetValue(62004, 2, true);
    set.SetLive(123456, 500000, 120000, 500000);
    struct Case {
        int32_t code;
        const char* text;
    } cases[] = {
        {51, "0.5"},          {101, "4.0000"},   {102, "20.0000"}, {2, "100.0000"}, {10003, "-2.5000"},
        {10002, "1.0000"},    {0, "0"},          {20001, "3"},     {20004, "50.0000"},
        {60000, "12.346mA, 50.00%"},             {60001, "12.0000mA, 50.0000%"},
        {61000, "Normal"},    {62004, "2"},      {62005, "0"},     {62001, ""},     {65000, ""},
        {65003, ""},          {12345, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(set.GetValueString(c.code), c.text) << c.code;
    EXPECT_EQ(set.GetValueText(51), "0.5000");
    EXPECT_EQ(set.GetValueText(60000), "12.346mA, 50.00%");
}

TEST(ParTypeVText, StatusTexts) {
    struct Case {
        uint32_t bits;
        const char* text;
    } cases[] = {
        {0, "Normal"},
        {0x200, "Burnout"},
        {0x2200, "Burnout, AD Err"},
        {0x7200, "Burnout, Looptest, AD Err, ROM Err"},
        {0x4000, "ROM Err"},
        {0x1, "Normal"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CParTypeV::FormatStatus(c.bits), c.text) << c.bits;
        CParProbe set;
        set.SetStatus(c.bits);
        EXPECT_EQ(set.GetValueString(61000), c.text);
    }
}

TEST(ParTypeVText, DateTexts) {
    struct Case {
        int32_t date;
        const char* text;
    } cases[] = {
        {2019 << 16 | 3 << 8 | 7, "2019/03/07"},
        {2000 << 16, "2000/00/00"},
        {(2000 << 16) - 1, ""},
        {0, ""},
        {-1, ""},
    };
    for (const auto& c : cases) {
        CParProbe set;
        set.SetDate(c.date);
        EXPECT_EQ(set.GetValueString(62001), c.text) << c.date;
        set.SetValueFromString(62001, "2020/01/01", true);
        EXPECT_EQ(set.GetValueString(62001), c.text);
    }
}

TEST(ParTypeVText, NamesAndUnits) {
    CParTypeV set;
    struct Case {
        int32_t code;
        const char* name;
    } cases[] = {
        {0, "Input type"}, {1, "0% input"},   {51, "Damping time constant"}, {65003, "Linearizer"},
        {20002, "X[0]"},   {20003, "Y[0]"},   {20202, "X[100]"},   {20203, "Y[100]"},
        {20204, ""},       {10001, ""},       {12345, ""},         {62000, "Tag No."},
    };
    for (const auto& c : cases) EXPECT_EQ(set.GetParamName(c.code), c.name) << c.code;

    struct UnitCase {
        int32_t type;
        const char* input;
        const char* output;
    } units[] = {{0, "mA", "mA"}, {1, "mV", "V"}, {2, "V", "V"}, {3, "", ""}, {-1, "", ""}};
    for (const auto& u : units) {
        set.SetValue(0, u.type, false);
        set.SetValue(100, u.type, false);
        EXPECT_EQ(set.GetInputUnit(), u.input);
        EXPECT_EQ(set.GetSensorUnit(), u.input);
        EXPECT_EQ(set.GetOutputUnit(), u.output);
    }
}

TEST(ParTypeVText, UniversalKindsAlwaysReportTheirModelText) {
    for (int32_t typeId = 0; typeId <= 10; ++typeId) {
        CParTypeV set;
        set.SetTypeId(typeId);
        set.SetValueFromString(62002, "K9Z9", false);
        EXPECT_EQ(set.GetValueString(62002), typeId >= 4 && typeId <= 9 ? "K9U" : "K9Z9") << typeId;
    }
}

TEST(ParTypeVText, OutputFineZeroSurvivesItsOwnText) {
    CParTypeV set;
    for (int32_t v = -500; v <= 500; ++v) {
        set.SetValue(10003, v, true);
        const std::string text = set.GetValueString(10003);
        set.SetValue(10003, 0, true);
        set.SetValueFromString(10003, text, true);
        EXPECT_EQ(set.GetValue(10003), v) << text;
    }
    set.SetValueFromString(10003, "0.29", true);
    EXPECT_EQ(set.GetValue(10003), 29);
}

TEST(ParTypeVText, ScaledValuesSurviveTheirOwnText) {
    CParTypeV set;
    set.SetValue(20000, 1, true);
    for (int32_t v = -100000000; v <= 100000000; v += 99991) {
        set.SetValue(10001, v, true);
        set.SetValueFromString(10001, set.GetValueString(10001), true);
        EXPECT_EQ(set.GetValue(10001), v);
    }
    for (int32_t v = -20000; v <= 1020000; v += 7) {
        set.SetValue(20005, v, true);
        set.SetValueFromString(20005, set.GetValueString(20005), true);
        ASSERT_EQ(set.GetValue(20005), v);
    }
    for (int32_t v = 9500; v <= 10500; ++v) {
        set.SetValue(10004, v, true);
        set.SetValueFromString(10004, set.GetValueString(10004), true);
        ASSERT_EQ(set.GetValue(10004), v);
    }
}

TEST(ParTypeVText, ParsedTexts) {
    struct Case {
        int32_t code;
        const char* text;
        int32_t value;
    } cases[] = {
        {20004, "1.2345", 12345}, {20004, "-1.2345", -12345}, {20004, "", 0},     {20004, "  2.5abc", 25000},
        {20004, "abc", 0},        {20004, "1e1", 100000},     {10003, "-5", -500}, {10003, "0.005", 0},
        {20001, " 42x", 42},      {20001, "3.9", 3},          {0, "2", 2},         {62004, "-7", -7},
        {51, "0.5", 5000},        {101, "4", 40000},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetValueFromString(c.code, c.text, false);
        EXPECT_EQ(set.GetValue(c.code), c.value) << c.code << " '" << c.text << "'";
    }
}

TEST(ParTypeVText, NonFiniteAndHugeTextsAreRefusedWithChecking) {
    struct Case {
        int32_t code;
        const char* text;
        const char* message;
    } cases[] = {
        {1, "nan", "0% input should be a from -2.5000 to 99.9999. "},
        {1, "-inf", "0% input should be a from -2.5000 to 99.9999. "},
        {1, "1e20", "0% input should be a from -2.5000 to 99.9999. "},
        {1, "1e300", "0% input should be a from -2.5000 to 99.9999. "},
        {10003, "nan", "Output fine zero adjust. should be a from -5.0000 to 5.0000. "},
        {10003, "1e20", "Output fine zero adjust. should be a from -5.0000 to 5.0000. "},
        {20001, "99999999999", "Number of points should be a from 2 to 101. "},
        {20001, "-99999999999", "Number of points should be a from 2 to 101. "},
        {51, "nan", "Damping time constant should be from 0 to 30."},
        {2, "1e400", "100% input should be a from 0.0001 to 52.5000. "},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        const int32_t before = set.GetValue(c.code);
        EXPECT_EQ(ThrownMessage([&] { set.SetValueFromString(c.code, c.text, true); }), c.message) << c.text;
        EXPECT_EQ(set.GetValue(c.code), before) << c.code << " " << c.text;
    }
    CParTypeV set;
    set.SetValueFromString(1, "nan", false);
    EXPECT_EQ(set.GetValue(1), INT32_MIN);
}

TEST(ParTypeVText, TagCharacters) {
    const std::string refusal = std::string("Only the following characters can be used for tag.\r") +
                                "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ!\"#$%&'()=-+*^~|\\@`[]{};:<>?_,./";
    struct Case {
        const char* tag;
        bool check;
        bool stored;
    } cases[] = {
        {"TT-101", true, true},     {"\"A'B\"", true, true}, {"", true, true},      {"%1!%%", true, true},
        {"tt-101", true, false},    {"A B", true, false},    {"\xC3\x84", true, false},
        {"a b", false, true},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        const std::string message = ThrownMessage([&] { set.SetValueFromString(62000, c.tag, c.check); });
        EXPECT_EQ(message, c.stored ? "no throw" : refusal) << c.tag;
        EXPECT_EQ(set.GetValueString(62000), c.stored ? c.tag : "Default") << c.tag;
    }
    EXPECT_EQ(CParTypeV::kTagCharacters.size(), 68u);
}

TEST(ParTypeVText, RowStates) {
    struct Case {
        bool admin;
        int32_t linearization, points;
        int32_t code, state;
    } cases[] = {
        {false, 0, 3, 62002, 1},  {false, 0, 3, 62003, 1}, {false, 0, 3, 62004, 1}, {true, 0, 3, 62002, 2},
        {true, 0, 3, 62004, 2},   {false, 0, 3, 62000, 2}, {false, 0, 3, 62005, 1}, {false, 0, 3, 65000, 0},
        {false, 0, 3, 0, 3},      {false, 0, 3, 1, 2},     {false, 0, 3, 20001, 1}, {false, 1, 3, 20001, 2},
        {false, 0, 3, 20002, 1},  {false, 1, 3, 20007, 2}, {false, 1, 3, 20008, 1}, {false, 1, 101, 20203, 2},
        {false, 1, 500, 20203, 2}, {false, 1, -1, 20002, 1}, {false, 0, 3, 20204, 1}, {false, 0, 3, 12345, 1},
    };
    for (const auto& c : cases) {
        SetAdminMode(c.admin);
        CParTypeV set;
        set.SetValue(20000, c.linearization, false);
        set.SetValue(20001, c.points, false);
        EXPECT_EQ(set.GetParamState(c.code), c.state) << c.admin << " " << c.code;
    }
    SetAdminMode(false);
}

// Plays the in-place editor: records what it was shown and returns the result it is given.
class CFakeEditor : public CParEditor {
public:
    int GetMode() const override { return mode; }
    int GetChoiceIndex() const override { return choice; }
    std::string GetText() const override { return text; }
    void ShowTextEditor(const std::string& shown) override { shownText.push_back(shown); }
    void ShowChoiceEditor(const std::vector<std::string>& items, int selected) override {
        shownItems = items;
        shownSelected = selected;
        ++choiceShown;
    }

    int mode = kCancelled;
    int choice = -1;
    std::string text;
    std::vector<std::string> shownText;
    std::vector<std::string> shownItems;
    int shownSelected = -1;
    int choiceShown = 0;
};

TEST(ParTypeVText, EditorSetUp) {
    CParTypeV set;
    set.SetValue(0, 1, true);
    CFakeEditor editor;
    set.SetupEditor(0, editor);
    EXPECT_EQ(editor.shownItems,
              (std::vector<std::string>{"DC 0 - 50mA", "DC -1000 - +1000mV", "DC -10V - +10V"}));
    EXPECT_EQ(editor.shownSelected, 1);

    set.SetValue(100, 7, false);  // a stored choice outside the list selects the first item
    set.SetupEditor(100, editor);
    EXPECT_EQ(editor.shownItems.size(), 3u);
    EXPECT_EQ(editor.shownSelected, 0);

    set.SetupEditor(1, editor);
    set.SetupEditor(10003, editor);
    EXPECT_EQ(editor.shownText, (std::vector<std::string>{"-1000.0000", "0.0000"}));

    for (int32_t code : {60000, 62001, 65000, 20002, 62002}) set.SetupEditor(code, editor);
    EXPECT_EQ(editor.shownText.size(), 2u);
    EXPECT_EQ(editor.choiceShown, 2);
}

TEST(ParTypeVText, EditorResults) {
    struct Case {
        int mode, choice;
        const char* text;
        int32_t code, value;
        const char* message;
    } cases[] = {
        {CParEditor::kChoiceAccepted, 2, "", 0, 2, "no throw"},
        {CParEditor::kChoiceAccepted, -1, "", 0, 0, "no throw"},
        {CParEditor::kTextAccepted, 0, "12.5", 1, 125000, "no throw"},
        {CParEditor::kTextAccepted, 0, "120", 1, 0, "0% input should be a from -2.5000 to 99.9999. "},
        {CParEditor::kTextAccepted, 0, "1", 20001, 3, "Number of points should be a from 2 to 101. "},
        {CParEditor::kCancelled, 2, "12.5", 1, 0, "no throw"},
        {7, 2, "12.5", 1, 0, "no throw"},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        CFakeEditor editor;
        editor.mode = c.mode;
        editor.choice = c.choice;
        editor.text = c.text;
        EXPECT_EQ(ThrownMessage([&] { set.SetValueFromItem(c.code, editor); }), c.message) << c.text;
        EXPECT_EQ(set.GetValue(c.code), c.value) << c.code;
    }
    CParTypeV set;
    CFakeEditor editor;
    editor.mode = CParEditor::kChoiceAccepted;
    editor.choice = 2;
    set.SetValueFromItem(0, editor);
    EXPECT_EQ(set.GetValue(1), -100000);  // the type's defaults came with the choice
}

TEST(ParTypeVText, NumberTextsUseThePointUnderAGermanLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the de_DE.UTF-8 locale is not installed";
    CParTypeV set;
    set.SetValueFromString(1, "12.5", true);
    EXPECT_EQ(set.GetValue(1), 125000);
    EXPECT_EQ(set.GetValueString(1), "12.5000");
    EXPECT_EQ(set.FormatValue(101, 40000, true), "4.000 (mA)");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
