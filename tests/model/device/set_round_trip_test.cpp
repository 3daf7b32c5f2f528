#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "support/temp_folder.h"
#include "support/thrown_message.h"
#include "model/device/device_interface.h"
#include "model/device/device_type.h"
#include "model/set/par_base.h"
#include "platform/atomic_file.h"
#include "platform/c_number.h"
#include "platform/exception.h"
#include "sim/sim_model.h"

// Whatever a set holds, whether typed with checking, uploaded from a device or loaded from a file, saves
// to a file that loads back equal in every code, into a fresh set and into one holding other values.

namespace {

constexpr int32_t kTag = 62000;
constexpr int32_t kModel = 62002;
constexpr int32_t kSerial = 62003;
constexpr int32_t kFirmware = 62005;
constexpr int32_t kHeaderFirst = 65000;

std::unique_ptr<CParBase> NewSet(int32_t typeId) {
    CDeviceType registry;
    const CParBase* held = registry.SetTypeId(typeId);
    return held->Clone();
}

std::string RandomChars(std::mt19937& rng, const std::string& alphabet, int maxLength) {
    std::string text(std::uniform_int_distribution<int>(0, maxLength)(rng), ' ');
    for (char& c : text) c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
    return text;
}

// A text a user might type for `code`: small integers for choices and counts, numbers of every
// magnitude and precision for values, the present value nudged.
std::string RandomText(std::mt19937& rng, const CParBase& set, int32_t code) {
    if (code == kTag) return RandomChars(rng, "ABCXYZ0129-_./#", 16);
    if (code == kModel || code == kSerial) return RandomChars(rng, "Ab9 \t\"'=;[]-", 10);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    switch (pick(0, 4)) {
        case 0: return FormatC("%d", pick(-2, 12));
        case 1: return FormatC("%d", pick(-5, 310));
        case 2: {
            const int64_t limit = int64_t{1} << pick(4, 31);
            const int64_t v = std::uniform_int_distribution<int64_t>(-limit, limit)(rng);
            return FormatC("%.4lf", static_cast<double>(v) / 10000.0);
        }
        case 3:
            return FormatC("%.*lf", pick(0, 6), std::uniform_real_distribution<double>(-1500.0, 1500.0)(rng));
        default: {
            const int64_t v = int64_t{set.GetValue(code)} + pick(-3000, 3000);
            return FormatC("%.4lf", static_cast<double>(v) / 10000.0);
        }
    }
}

// Typed edits of random rows; refused ones leave the set as it was. Gives the number accepted.
int EditAtRandom(CParBase& set, std::mt19937& rng, int edits) {
    const auto codes = set.GetWalkCodes();
    int accepted = 0;
    for (int i = 0; i < edits; ++i) {
        const int32_t code = codes[std::uniform_int_distribution<size_t>(0, codes.size() - 1)(rng)];
        if (code >= kHeaderFirst) continue;
        try {
            set.SetValueFromString(code, RandomText(rng, set, code), true);
            ++accepted;
        } catch (const CException&) {
        }
    }
    return accepted;
}

// Saves `set`, loads the file into `target` and compares every saved code.
void ExpectFileRoundTrip(const CParBase& set, CParBase& target) {
    CTempFolder folder;
    const std::string path = folder / "set.cfg";
    set.SaveToFile(path);
    try {
        target.LoadFromFile(path);
    } catch (const CException& e) {
        ADD_FAILURE() << "its own file is refused: " << e.what();
        return;
    }
    for (int32_t code : set.GetWalkCodes()) {
        if (code == kFirmware) continue;  // the device's own: a file never sets it
        EXPECT_EQ(target.GetValueString(code), set.GetValueString(code)) << "code " << code;
        EXPECT_EQ(target.GetValue(code), set.GetValue(code)) << "code " << code;
    }
}

// The thermocouple model and the universal model's thermocouple kind list the same rows, as do the RTD
// model and the universal model's RTD kind.
const std::vector<int32_t> kThermocoupleRows = {
    65000, 0,     1,     2,     60,    61,     62,    70,    65,    51,    66,    68,
    69,    65001, 100,   101,   102,   103,    104,   67,    65002, 10000, 10002, 10003,
    10004, 65005, 21005, 21006, 21007, -21307, 62000, 62002, 62003, 62004, 62005};
const std::vector<int32_t> kRtdRows = {65000, 0,      63,    1,     2,     60,    65,    51,
                                       66,    65001,  100,   101,   102,   103,   104,   67,
                                       65002, 10000,  10002, 10003, 10004, 65004, 21005, 21006,
                                       21007, -21307, 62000, 62002, 62003, 62004, 62005};
// The rows of groups 0 to 3 of type ids 1 to 9 as the models list them; -n stands for every code after
// the one before it, up to n.
const std::vector<int32_t> kListedRows[] = {
    kThermocoupleRows,
    kRtdRows,
    {65000, 1,     2,     60,    20000, 51,    65001,  100,   101,   102,   103,   104,
     67,    65002, 10003, 10004, 65003, 20001, -20203, 62000, 62002, 62003, 62004, 62005},
    kThermocoupleRows,
    kRtdRows,
    {65000, 0,     1,     2,     60,    51,    66,    65001, 100,    101,   102,   103,   104,   67,
     65002, 10000, 10002, 10003, 10004, 65003, 20000, 20001, -20203, 62000, 62002, 62003, 62004, 62005},
    {65000, 0,     63,    1,     2,     60,    51,    66,    65001,  100,   101,   102,   103,   104,  67,
     65002, 10000, 10002, 10003, 10004, 65003, 20000, 20001, -20203, 62000, 62002, 62003, 62004, 62005},
    {65000, 0,     1,     2,     3,     4,     60,    61,     62,    70,    65,    51,    66,
     68,    69,    65001, 100,   101,   102,   103,   104,    67,    65002, 10000, 10002, 10005,
     10006, 10003, 10004, 65005, 21005, 21006, 21007, -21307, 62000, 62002, 62003, 62004, 62005},
    {65000, 0,     1,     2,     60,    61,     62,    70,    65,    51,    66,    68,    69,
     65001, 100,   101,   102,   103,   104,    67,    65002, 10000, 10002, 10005, 10006, 10003,
     10004, 65005, 21005, 21006, 21007, -21307, 62000, 62002, 62003, 62004, 62005},
};

std::vector<int32_t> ListedRows(int32_t typeId) {
    std::vector<int32_t> codes;
    for (int32_t code : kListedRows[typeId - 1]) {
        for (int32_t next = code < 0 ? codes.back() + 1 : 0; next < -code; ++next) codes.push_back(next);
        codes.push_back(code < 0 ? -code : code);
    }
    return codes;
}

class SetRoundTripTest : public ScaledTiming, public ::testing::WithParamInterface<int32_t> {};

}  // namespace

TEST_P(SetRoundTripTest, TypedEditsSaveToAFileThatLoadsBackEqual) {
    std::mt19937 rng(static_cast<unsigned>(GetParam()) * 7919u);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const auto set = NewSet(GetParam());
        EXPECT_GT(EditAtRandom(*set, rng, 300), 100);  // the edits reach far beyond the defaults
        const auto other = NewSet(GetParam());
        EditAtRandom(*other, rng, 300);
        ExpectFileRoundTrip(*set, *NewSet(GetParam()));
        ExpectFileRoundTrip(*set, *other);
    }
}

TEST_P(SetRoundTripTest, EveryListedRowHoldsAnotherValueThroughAFile) {
    const int32_t typeId = GetParam();
    const auto set = NewSet(typeId);
    ASSERT_EQ(set->GetWalkCodes(), ListedRows(typeId));
    const auto fresh = NewSet(typeId);
    // The model text of the universal kinds is always "K9U", and a file never sets the firmware.
    const auto keepsDefault = [&](int32_t code) {
        return code >= kHeaderFirst || code == kFirmware || (code == kModel && typeId >= 4);
    };
    for (int32_t code : set->GetWalkCodes()) {
        if (code == kTag || code == kModel || code == kSerial) set->SetValueFromString(code, "SN-1", false);
        for (int32_t step : {1, -1, 10000, -10000}) {
            if (keepsDefault(code) || set->GetValueString(code) != fresh->GetValueString(code)) break;
            ThrownMessage([&] { set->SetValue(code, set->GetValue(code) + step, false); });
        }
        EXPECT_TRUE(keepsDefault(code) || set->GetValueString(code) != fresh->GetValueString(code)) << code;
    }
    ExpectFileRoundTrip(*set, *NewSet(typeId));

    // Files written while the custom TC points had no row of their own held P20002 in its place.
    if (typeId != 1 && typeId != 4 && typeId < 8) return;
    CTempFolder folder;
    set->SaveToFile(folder / "old.cfg");
    std::string text = ReadBytes(folder / "old.cfg");
    WriteBytes(folder / "old.cfg", text.replace(text.find("P21007=3\r\n"), 8, "P20002=-2.0000"));
    const auto old = NewSet(typeId);
    old->LoadFromFile(folder / "old.cfg");
    for (int32_t code : set->GetWalkCodes())
        EXPECT_EQ(old->GetValueString(code), (code == 21007 ? *fresh : *set).GetValueString(code)) << code;
}

TEST_P(SetRoundTripTest, LoadedFilesSaveToAFileThatLoadsBackEqual) {
    std::mt19937 rng(static_cast<unsigned>(GetParam()) * 31337u);
    CTempFolder folder;
    const std::string path = folder / "random.cfg";
    const char* const odd[] = {"",    "abc",  "1e10",        "-1e10", "nan",
                               "inf", "0x10", "99999999999", " 7 ",   "\"3\""};
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const auto set = NewSet(GetParam());
        std::string text = "[SETTING]\r\n";
        for (int32_t code : set->GetWalkCodes()) {
            const bool oddText = std::uniform_int_distribution<int>(0, 9)(rng) == 0;
            text += "P" + std::to_string(code) + "=" +
                    (oddText ? odd[std::uniform_int_distribution<size_t>(0, std::size(odd) - 1)(rng)]
                             : RandomText(rng, *set, code)) +
                    "\r\n";
        }
        text += "[HEAD]\r\nMODEL=" + set->GetModelCode() + "\r\n";
        ASSERT_EQ(WriteFileAtomic(path, text), WriteFileResult::kOk);
        try {
            set->LoadFromFile(path);
        } catch (const CException& e) {
            ADD_FAILURE() << "a file of its model is refused: " << e.what();
            continue;
        }
        ExpectFileRoundTrip(*set, *NewSet(GetParam()));
    }
}

TEST_P(SetRoundTripTest, UploadedDeviceImagesSaveToAFileThatLoadsBackEqual) {
    const int32_t typeId = GetParam();
    std::mt19937 rng(static_cast<unsigned>(typeId) * 104729u);
    const std::string code = typeId == 1   ? "K9TS"
                             : typeId == 2 ? "K9RS"
                             : typeId == 3 ? "K9PM"
                                           : "K9U" + std::to_string(typeId - 4);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        SimLink link(code);
        link.sim.WithModel([&](CSimModel& model) {
            for (int r = 0; r < CSimModel::kRegisterCount; ++r)
                model.SetRegister(r,
                                  static_cast<uint16_t>(std::uniform_int_distribution<int>(0, 0xFFFF)(rng)));
            model.SetModelCode(code);
        });
        CDeviceInterface device;
        device.SetModbus(&link.modbus);
        try {
            device.Upload();
        } catch (const CException& e) {
            ADD_FAILURE() << "upload refused: " << e.what();
            continue;
        }
        const auto access = device.AccessSet();
        ASSERT_EQ(access->GetTypeId(), typeId);
        auto uploaded = access->Clone();
        ExpectFileRoundTrip(*uploaded, *NewSet(typeId));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryClass, SetRoundTripTest, ::testing::Range(1, 10));
