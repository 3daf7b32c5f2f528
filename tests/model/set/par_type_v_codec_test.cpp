#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/set/par_type_v.h"
#include "support/transfer_probe.h"

namespace {

std::vector<uint16_t> Image(const CParTypeV& set, int32_t start, int32_t count) {
    const auto regs = set.Registers(start, count);
    return {regs.begin(), regs.end()};
}

struct EncodeCase {
    int32_t code;
    int32_t value;
    int32_t start;
    std::vector<uint16_t> registers;
    int32_t decoded;  // what the registers decode back to
};

TEST(ParTypeVCodec, NumbersRoundTripThroughTheImage) {
    const EncodeCase cases[] = {
        {1, -10000000, 1288, {0xFF67, 0x6980}, -10000000},
        {2, 10000000, 1290, {0x0098, 0x9680}, 10000000},
        {1, std::numeric_limits<int32_t>::min(), 1288, {0x8000, 0x0000}, std::numeric_limits<int32_t>::min()},
        {101, 40000, 1284, {4000}, 40000},
        {101, 40005, 1284, {4000}, 40000},
        // negative outputs go out as value / 10 in 16 bits and come back unsigned
        {101, -50000, 1284, {0xEC78}, 605360},
        {102, 200000, 1285, {20000}, 200000},
        {0, 2, 1280, {2}, 2},
    };
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " value " << c.value);
        CTransferProbe set;
        set.SetValue(0, 1, false);  // the mV type, whose range holds every value above
        set.SetValue(c.code, c.value, false);
        set.ParamToRegisters(c.code);
        EXPECT_EQ(Image(set, c.start, static_cast<int32_t>(c.registers.size())), c.registers);
        CTransferProbe back;
        for (size_t i = 0; i < c.registers.size(); ++i)
            back.Registers(c.start + static_cast<int32_t>(i), 1)[0] = c.registers[i];
        back.RegistersToParam(c.code);
        EXPECT_EQ(back.GetValue(c.code), c.decoded);
    }
}

TEST(ParTypeVCodec, DampingCoefficientFollowsTheSeriesAsWritten) {
    const struct {
        uint32_t damping;
        uint16_t coefficient;
    } cases[] = {
        {0, 0}, {10000, 21605}, {5000, 36089}, {1000, 6241},  // the series overshoots: low 16 bits of 137313
    };
    for (const auto& c : cases)
        EXPECT_EQ(CParTypeV::DampingCoefficient(c.damping), c.coefficient) << c.damping;
    // Tiny and huge time constants stay defined (the sanitizer build checks the conversion).
    CParTypeV::DampingCoefficient(1);
    CParTypeV::DampingCoefficient(std::numeric_limits<uint32_t>::max());
}

TEST(ParTypeVCodec, DampingFillsBothRegisters) {
    const struct {
        int32_t damping;
        uint16_t tenths;
        uint16_t coefficient;
    } cases[] = {{10000, 10, 21605}, {0, 0, 0}, {300000, 300, CParTypeV::DampingCoefficient(300000)}};
    for (const auto& c : cases) {
        CTransferProbe set;
        set.Registers(1286, 1)[0] = 0xFFFF;
        set.Registers(2060, 1)[0] = 0xFFFF;
        set.SetValue(51, c.damping, false);
        set.ParamToRegisters(51);
        EXPECT_EQ(Image(set, 1286, 1), std::vector<uint16_t>{c.tenths}) << c.damping;
        EXPECT_EQ(Image(set, 2060, 1), std::vector<uint16_t>{c.coefficient}) << c.damping;
        set.RegistersToParam(51);
        EXPECT_EQ(set.GetValue(51), c.tenths * 1000);
    }
}

TEST(ParTypeVCodec, TagPacksTwoBytesPerRegisterLowByteFirst) {
    const struct {
        std::string tag;
        std::vector<uint16_t> registers;
    } cases[] = {
        {"XYZ", {0x5958, 0x005A, 0, 0, 0, 0, 0, 0}},
        {"", {0, 0, 0, 0, 0, 0, 0, 0}},
        // a byte with the top bit set stays in its own byte
        {"\xE9"
         "A",
         {0x41E9, 0, 0, 0, 0, 0, 0, 0}},
        {"A\xE9", {0xE941, 0, 0, 0, 0, 0, 0, 0}},
        {"0123456789ABCDEF", {0x3130, 0x3332, 0x3534, 0x3736, 0x3938, 0x4241, 0x4443, 0x4645}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        CTransferProbe set;
        for (uint16_t& reg : set.Registers(1024, 16)) reg = 0x7777;
        set.SetValueFromString(62000, c.tag, false);
        set.ParamToRegisters(62000);
        EXPECT_EQ(Image(set, 1024, 8), c.registers);
        // the read block reaches 16 registers; the tag is only the first 8
        for (uint16_t& reg : set.Registers(1032, 8)) reg = 0x4141;
        CTransferProbe back;
        for (size_t i = 0; i < 16; ++i)
            back.Registers(1024 + static_cast<int32_t>(i), 1)[0] = set.Registers(1024, 16)[i];
        back.RegistersToParam(62000);
        EXPECT_EQ(back.GetValueString(62000), c.tag);
    }
}

TEST(ParTypeVCodec, TextsStopAtTheFirstZeroOrTheFieldLength) {
    CTransferProbe set;
    for (uint16_t& reg : set.Registers(1024, 16)) reg = 0x4241;  // "AB" everywhere, no 0 byte
    set.Registers(1042, 12)[0] = 'K';
    set.Registers(1042, 12)[1] = 0x0139;  // high byte ignored: one character per register
    set.Registers(1042, 12)[2] = 0;
    set.Registers(1042, 12)[3] = 'Z';
    for (uint16_t& reg : set.Registers(1056, 9)) reg = 'S';
    set.RegistersToParam(62000);
    set.RegistersToParam(62002);
    set.RegistersToParam(62003);
    EXPECT_EQ(set.GetValueString(62000), "ABABABABABABABAB");
    EXPECT_EQ(set.GetValueString(62002), "K9");
    EXPECT_EQ(set.GetValueString(62003), "SSSSSSSS");
    set.RegistersToParam(62004);
    EXPECT_EQ(set.GetValue(62004), 'S');
}

TEST(ParTypeVCodec, UniversalKindsAlwaysReadTheirModelAsK9U) {
    for (int32_t typeId : {0, 3, 4, 9, 10}) {
        CTransferProbe set;
        set.SetTypeId(typeId);
        for (uint16_t& reg : set.Registers(1042, 10)) reg = 'Q';
        set.RegistersToParam(62002);
        EXPECT_EQ(set.GetValueString(62002), typeId >= 4 && typeId <= 9 ? "K9U" : "QQQQQQQQQQ") << typeId;
    }
}

TEST(ParTypeVCodec, IdentityIsEncodedOnlyInTheAdministratorMode) {
    for (bool admin : {false, true}) {
        AdminModeScope scope(admin);
        CTransferProbe set;
        set.SetValueFromString(62002, "K9RS", false);
        set.SetValueFromString(62003, "12345678X", false);
        set.SetValue(62004, 3, false);
        for (int32_t code : {62002, 62003, 62004}) set.ParamToRegisters(code);
        const std::vector<uint16_t> model = Image(set, 1042, 10);
        const std::vector<uint16_t> serial = Image(set, 1056, 9);
        if (admin) {
            EXPECT_EQ(model, (std::vector<uint16_t>{'K', '9', 'R', 'S', 0, 0, 0, 0, 0, 0}));
            EXPECT_EQ(serial, (std::vector<uint16_t>{'1', '2', '3', '4', '5', '6', '7', '8', 3}));
        } else {
            EXPECT_EQ(model, std::vector<uint16_t>(10, 0));
            EXPECT_EQ(serial, std::vector<uint16_t>(9, 0));
        }
    }
}

TEST(ParTypeVReplies, TailsNeverReachPastTheReply) {
    EXPECT_EQ(CTransferProbe::ReplyTail("", 1), "");
    EXPECT_EQ(CTransferProbe::ReplyTail("D", 1), "");
    EXPECT_EQ(CTransferProbe::ReplyTail("D", 2), "");
    EXPECT_EQ(CTransferProbe::ReplyTail("DS", 2), "");
    EXPECT_EQ(CTransferProbe::ReplyTail("DS1.5", 2), "1.5");
    EXPECT_EQ(CTransferProbe::ReplyTail("D4.0 20.0", 1), "4.0 20.0");
}

TEST(ParTypeVReplies, NumbersAreReadUntilTheFirstThatIsNot) {
    const struct {
        const char* text;
        size_t count;
        std::vector<double> numbers;
    } cases[] = {
        {"4.0000 20.0000", 2, {4.0, 20.0}},
        {"  -1.5\t+2.5  3", 3, {-1.5, 2.5, 3.0}},
        {"1 2 3", 2, {1.0, 2.0}},
        {"7.25", 2, {7.25}},
        {"", 2, {}},
        {"abc 1", 2, {}},
        {"1,2", 2, {1.0}},
        {"nan 1", 2, {}},
        {"1e400", 1, {}},
        {"+-1", 1, {}},
        {"2e3x", 1, {2000.0}},
    };
    for (const auto& c : cases) EXPECT_EQ(CTransferProbe::ScanNumbers(c.text, c.count), c.numbers) << c.text;
}

TEST(ParTypeVReplies, DeviceNumbersScaleWithoutLosingTheLastDigit) {
    const struct {
        double number;
        int32_t value;
    } cases[] = {
        {12.3456, 123456},
        {-1.2345, -12345},
        {2.3, 23000},
        {4.00005, 40000},
        {-4.00005, -40000},
        {1e300, std::numeric_limits<int32_t>::max()},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CTransferProbe::DeviceScaled(c.number), c.value) << c.number;
}

}  // namespace
