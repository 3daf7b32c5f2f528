#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>
#include <vector>

#include "model/hooks/par_editor.h"
#include "model/set/par_type_v.h"
#include "support/par_probe.h"
#include "platform/admin_mode.h"

namespace {

TEST(ParTypeVText, DisplayTexts) {
    struct Case {
        int32_t inputType, code, value;
        bool withUnit;
        const char* text;
    } cases[] = {
        {0, 10000, 12345, true, "+1.2345 (mA)"},
        {0, 10000, -12345, true, "-1.2345 (mA)"},
        {1, 1, 12345, true, "1.2345 (mV)"},
        {0, 101, 40000, true, "4.000 (mA)"},
        {0, 101, 40000, false, "4.000"},
        {0, 51, 5000, true, "0.5000 (sec)"},
        {0, 10003, -250, true, "-2.5000 (%)"},
        {0, 10003, 250, true, "+2.5000 (%)"},
        {0, 20203, -20000, true, "-2.0000 (%)"},
        {0, 20001, 3, true, "3"},
        {0, 0, 1, false, "DC -1000 - +1000mV"},
        {0, 0, 3, false, ""},
        {0, 0, -1, false, ""},
        {0, 50, 1, true, "Normal speed"},
        {0, 20000, INT32_MIN, false, ""},
        {0, 66, 2, false, "0-500 Ohm"},
        {0, 62004, 7, false, "0"},  // from 60000 up the stored value, not the argument
    };
    for (const auto& c : cases) {
        CParTypeV set;
        set.SetValue(0, c.inputType, false);
        EXPECT_EQ(set.FormatValue(c.code, c.value, c.withUnit), c.text) << c.code << " " << c.value;
    }
}

TEST(ParTypeVText, StoredTexts) {
    CParProbe set;
    // A new set starts with type id, status, date and live values zero.
    EXPECT_EQ(set.GetTypeId(), 0);
    EXPECT_EQ(set.GetValueString(60000) + "|" + set.GetValueString(60001) + "|" + set.GetValueString(61000) +
                  "|" + set.GetValueString(62001),
              "0.000mA, 0.00%|0.0000mA, 0.0000%|Normal|");
    set.SetValue(51, 5000, true);
    set.SetLive(123456, 500000, 120000, 500000);
    set.SetStatus(0x2200);
    set.SetDate(2019 << 16 | 3 << 8 | 7);
    struct Case {
        int32_t code;
        const char* text;
    } cases[] = {
        {51, "0.5"},
        {101, "4.0000"},
        {2, "100.0000"},
        {20001, "3"},
        {60000, "12.346mA, 50.00%"},
        {60001, "12.0000mA, 50.0000%"},
        {61000, "Burnout, AD Err"},
        {62001, "2019/03/07"},
        {65000, ""},
        {12345, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(set.GetValueString(c.code), c.text) << c.code;
    set.SetValueFromString(62001, "2020/01/01", true);  // only uploads set the date
    EXPECT_EQ(set.GetValueString(62001), "2019/03/07");

    set.SetStatus(0x7201);
    EXPECT_EQ(set.GetValueString(61000), "Burnout, Looptest, AD Err, ROM Err");
    set.SetStatus(0x1);
    EXPECT_EQ(set.GetValueString(61000), "Normal");
    set.SetDate((2000 << 16) - 1);
    EXPECT_EQ(set.GetValueString(62001), "");
}

TEST(ParTypeVText, UnitsAndModelText) {
    CParTypeV set;
    EXPECT_EQ(set.GetParamName(20203), "Y[100]");
    EXPECT_EQ(set.GetParamName(20204), "");
    struct UnitCase {
        int32_t type;
        const char *input, *output;
    } units[] = {{0, "mA", "mA"}, {1, "mV", "V"}, {2, "V", "V"}, {-1, "", ""}};
    for (const auto& u : units) {
        set.SetValue(0, u.type, false);
        set.SetValue(100, u.type, false);
        EXPECT_EQ(set.GetSensorUnit(), u.input);
        EXPECT_EQ(set.GetOutputUnit(), u.output);
    }
    set.SetValueFromString(62002, "K9Z9", false);
    for (int32_t typeId : {0, 3, 4, 9, 10}) {
        set.SetTypeId(typeId);
        EXPECT_EQ(set.GetValueString(62002), typeId >= 4 && typeId <= 9 ? "K9U" : "K9Z9") << typeId;
    }
}

TEST(ParTypeVText, ValuesSurviveTheirOwnText) {
    struct Case {
        int32_t code, from, to, step;
    } cases[] = {{10003, -500, 500, 1},
                 {10001, -100000000, 100000000, 99991},
                 {20005, -20000, 1020000, 7},
                 {10004, 9500, 10500, 1}};
    CParTypeV set;
    for (const auto& c : cases) {
        for (int32_t v = c.from; v <= c.to; v += c.step) {
            set.SetValue(c.code, v, true);
            set.SetValueFromString(c.code, set.GetValueString(c.code), true);
            ASSERT_EQ(set.GetValue(c.code), v) << c.code;
        }
    }
}

TEST(ParTypeVText, ParsedTexts) {
    // Without checking, a far number saturates on its side and nan is a text without a number.
    struct Case {
        int32_t code;
        const char* text;
        int32_t value;
    } cases[] = {
        {20004, "-1.2345", -12345}, {20004, "", 0},           {20004, "  2.5abc", 25000}, {10003, "0.29", 29},
        {10003, "0.005", 0},        {20001, " 42x", 42},      {20001, "3.9", 3},          {51, "0.5", 5000},
        {1, "1e12", INT32_MAX},     {1, "-1e300", INT32_MIN}, {1, "inf", INT32_MAX},      {1, "nan", 0},
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
        const char *text, *message;
    } cases[] = {
        {1, "-inf", "0% input should be a from -2.5000 to 99.9999. "},
        {1, "1e20", "0% input should be a from -2.5000 to 99.9999. "},
        {10003, "1e300", "Output fine zero adjust. should be a from -5.0000 to 5.0000. "},
        {20001, "99999999999", "Number of points should be a from 2 to 101. "},
        {51, "inf", "Damping time constant should be from 0 to 30."},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        const int32_t before = set.GetValue(c.code);
        EXPECT_EQ(ThrownMessage([&] { set.SetValueFromString(c.code, c.text, true); }), c.message) << c.text;
        EXPECT_EQ(set.GetValue(c.code), before) << c.code << " " << c.text;
    }
}

TEST(ParTypeVText, TagCharacters) {
    const std::string refusal = std::string("Only the following characters can be used for tag.\r") +
                                "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ!\"#$%&'()=-+*^~|\\@`[]{};:<>?_,./";
    struct Case {
        const char* tag;
        bool check, stored;
    } cases[] = {{"TT-101", true, true},  {"\"A'%1!\"", true, true}, {"", true, true},
                 {"tt-101", true, false}, {"A B", true, false},      {"\xC3\x84", true, false},
                 {"a b", false, true}};
    for (const auto& c : cases) {
        CParTypeV set;
        EXPECT_EQ(ThrownMessage([&] { set.SetValueFromString(62000, c.tag, c.check); }),
                  c.stored ? kNoThrow : refusal)
            << c.tag;
        EXPECT_EQ(set.GetValueString(62000), c.stored ? c.tag : "Default") << c.tag;
    }
}

TEST(ParTypeVText, RowStates) {
    struct Case {
        bool admin;
        int32_t linearization, points, code, state;
    } cases[] = {
        {false, 0, 3, 62002, 1}, {true, 0, 3, 62003, 2},  {false, 0, 3, 62000, 2},   {false, 0, 3, 65000, 0},
        {false, 0, 3, 0, 3},     {false, 0, 3, 20001, 1}, {false, 1, 3, 20001, 2},   {false, 0, 3, 20002, 1},
        {false, 1, 3, 20007, 2}, {false, 1, 3, 20008, 1}, {false, 1, 500, 20203, 2}, {false, 0, 3, 12345, 1},
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
    std::vector<std::string> shownText, shownItems;
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
    EXPECT_EQ(editor.shownSelected, 0);
    set.SetupEditor(1, editor);
    for (int32_t code : {60000, 65000, 20002, 62002}) set.SetupEditor(code, editor);
    EXPECT_EQ(editor.shownText, (std::vector<std::string>{"-1000.0000"}));
    EXPECT_EQ(editor.choiceShown, 2);
}

TEST(ParTypeVText, EditorResults) {
    struct Case {
        int mode, choice;
        const char* text;
        int32_t code, value;
        const char* message;
    } cases[] = {
        {CParEditor::kChoiceAccepted, 2, "", 1, -100000, kNoThrow},  // the type's defaults came along
        {CParEditor::kChoiceAccepted, -1, "", 0, 0, kNoThrow},
        {CParEditor::kTextAccepted, 0, "12.5", 1, 125000, kNoThrow},
        {CParEditor::kTextAccepted, 0, "1", 20001, 3, "Number of points should be a from 2 to 101. "},
        {CParEditor::kCancelled, 2, "12.5", 1, 0, kNoThrow},
    };
    for (const auto& c : cases) {
        CParTypeV set;
        CFakeEditor editor;
        editor.mode = c.mode;
        editor.choice = c.choice;
        editor.text = c.text;
        const int32_t code = c.mode == CParEditor::kChoiceAccepted ? 0 : c.code;
        EXPECT_EQ(ThrownMessage([&] { set.SetValueFromItem(code, editor); }), c.message) << c.text;
        EXPECT_EQ(set.GetValue(c.code), c.value) << c.code;
    }
}

TEST(ParTypeVText, NumberTextsUseThePointUnderAGermanLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the de_DE.UTF-8 locale is not installed";
    CParTypeV set;
    set.SetValueFromString(1, "12.5", true);
    EXPECT_EQ(set.GetValue(1), 125000);
    EXPECT_EQ(set.FormatValue(101, 40000, true), "4.000 (mA)");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
