#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/hooks/notifier.h"
#include "model/potentiometer/par_type_pm.h"
#include "model/rtd/par_type_r.h"
#include "model/thermocouple/par_type_t.h"
#include "model/thermocouple/par_type_u4.h"
#include "support/recording_notifier.h"
#include "support/temp_folder.h"
#include "support/thrown_message.h"
#include "support/transfer_probe.h"

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(SetValuesRoundTrip, TypedTextsHoldWhatTheDeviceStores) {
    const std::string tooLong = " can hold at most ";
    const std::string control = " cannot contain line breaks or other control characters.";
    struct Case {
        int32_t code;
        std::string text, message;
    } cases[] = {
        {62000, "ABCDEFGHIJKLMNOP", kNoThrow},
        {62000, "ABCDEFGHIJKLMNOPQ", "Tag No." + tooLong + "16 characters."},
        {62002, "K9RS-01234", kNoThrow},
        {62002, "K9RS-012345", "Model" + tooLong + "10 characters."},
        {62002, "K9RS\r\n", "Model" + control},
        {62003, "SN-12345", kNoThrow},
        {62003, "SN-123456", "Serial" + tooLong + "8 characters."},
        {62003, "SN\n1", "Serial" + control},
        {62003, std::string("SN\0", 3), "Serial" + control},
    };
    for (const auto& c : cases) {
        CParTypeR set;
        const std::string before = set.GetValueString(c.code);
        EXPECT_EQ(ThrownMessage([&] { set.SetValueFromString(c.code, c.text, true); }), c.message) << c.text;
        EXPECT_EQ(set.GetValueString(c.code), c.message == kNoThrow ? c.text : before) << c.text;
    }
}

TEST(SetValuesRoundTrip, LongerFileTextsLoadCutWithAWarningAndSaveBackEqual) {
    CTempFolder dir;
    CParTypeR saved;
    saved.SaveToFile(dir / "a.cfg");
    std::string file = ReadBytes(dir / "a.cfg");
    file = Replaced(file, "P62000=Default\r\n", "P62000=" + std::string(300, 'T') + "\r\n");
    file = Replaced(file, "P62002=K9R\r\n", "P62002=K9R-ABCDEFGH\r\n");
    file = Replaced(file, "P62003=Default\r\n", "P62003=シリアル番号一二三\r\n");
    WriteBytes(dir / "a.cfg", file);

    CRecordingNotifier notifier;
    CParTypeR loaded;
    loaded.LoadFromFile(dir / "a.cfg");
    EXPECT_EQ(loaded.GetValueString(62000), std::string(16, 'T'));
    EXPECT_EQ(loaded.GetValueString(62002), "K9R-ABCDEF");
    EXPECT_EQ(loaded.GetValueString(62003), "シリアル番号一二");
    const auto cut = [](const std::string& name, const std::string& limit) {
        return name + " in the file is longer than the " + limit +
               " characters the device holds; it was cut to " + limit + " characters.";
    };
    EXPECT_EQ(notifier.messages,
              (std::vector<std::string>{cut("Tag No.", "16"), cut("Model", "10"), cut("Serial", "8")}));

    loaded.SaveToFile(dir / "b.cfg");
    CParTypeR again;
    again.LoadFromFile(dir / "b.cfg");
    for (int32_t code : {62000, 62002, 62003})
        EXPECT_EQ(again.GetValueString(code), loaded.GetValueString(code));
    EXPECT_EQ(notifier.messages.size(), 3u);
    // No register holds a character beyond ASCII: the download's check names the row.
    const AdminModeScope admin(true);
    EXPECT_EQ(ThrownMessage([&] { again.CheckValues(); }).substr(0, 34),
              "Serial can hold only ASCII letters");
}

// A file or a device may hold the other end of a 0 %/100 % pair where no typed value could lie beyond
// it; the refusal names the edited row and a range that value can take.
TEST(SetValuesRoundTrip, ReversedRangeNamesTheEditedRowAndARangeThatExists) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CParTypeV>()> make;
        int32_t inputType, storedCode, stored, editedCode, typed;
        std::string message;
    } cases[] = {
        {"RTD 0%", [] { return std::make_unique<CParTypeR>(); }, 1, 2, -5000000, 1, -3000000,
         "0% input should be a from -236.0000 to 545.9999. "},
        {"RTD 100%", [] { return std::make_unique<CParTypeR>(); }, 1, 1, 6000000, 2, 6000000,
         "100% input should be a from -235.9999 to 546.0000. "},
        {"TC 0%", [] { return std::make_unique<CParTypeT>(); }, 0, 2, -50000000, 1, -40000000,
         "0% input should be a from -230.0000 to 1421.9999. "},
        {"potentiometer 0%", [] { return std::make_unique<CParTypePM>(); }, 0, 2, -200000, 1, 2000000,
         "0% input should be a from -15.0000 to 114.9999. "},
        {"two TC Diff100%", [] { return std::make_unique<CParTypeU4>(); }, 0, 3, 99990000, 4, -99990000,
         "Diff100% should be a from -9998.9999 to 9999.0000. "},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<CParTypeV> set = c.make();
        set->SetValue(0, c.inputType, false);
        set->SetValue(c.storedCode, c.stored, false);
        EXPECT_EQ(ThrownMessage([&] { set->SetValue(c.editedCode, c.typed, true); }), c.message) << c.name;
    }
    // The download check walks the rows in order: the 100 % input a file put below the 0 % input is named.
    CParTypeR file;
    file.SetValue(0, 1, false);
    file.SetValue(2, -5000000, false);
    EXPECT_EQ(ThrownMessage([&] { file.CheckValues(); }),
              "100% input should be a from -199.9999 to 546.0000. ");
}

}  // namespace
