#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "link/comm_interface.h"
#include "link/private_exception.h"
#include "support/sim_fixtures.h"
#include "support/transfer_probe.h"

namespace {

using LineList = std::vector<std::string>;

class AsciiTransferTest : public SimTransferTest {
protected:
    AsciiTransferTest() : m_comm(Settings()) {}
    void SetUp() override {
        SimTransferTest::SetUp();
        OpenPort(m_comm.GetSerial());
        m_comm.SetPortOpen(true);
    }

    LineList LinesSince(size_t first) const {
        const LineList lines = AsciiLines();
        return LineList(lines.begin() + static_cast<long>(std::min(first, lines.size())), lines.end());
    }
    // What the callers do before a single write or a partial upload.
    void SelectSettings() {
        m_comm.SelectGroup(1);
        m_sent = m_sim.GetRequestCount();
    }
    // The device answers request `index` with `reply` and a carriage return instead of its own reply.
    void ReplyWith(size_t index, const std::string& reply) {
        std::vector<uint8_t> bytes(reply.begin(), reply.end());
        bytes.push_back('\r');
        m_sim.InjectFault(SimFault::Replace(bytes), index, index);
    }

    CCommInterface m_comm;
    size_t m_sent = 0;
};

TEST_F(AsciiTransferTest, TypeWritesRaiseItem01AndRestoreIt) {
    m_sim.SetItem(1, 1, "7");
    CTransferProbe set;
    set.SetValue(0, 2, false);
    set.SetValue(100, 1, false);
    SelectSettings();
    set.WriteParamAscii(m_comm, 0);
    set.WriteParamAscii(m_comm, 100);
    EXPECT_EQ(LinesSince(m_sent), (LineList{"I01", "D", "I01", "D1", "I10", "D2", "I01", "D", "I01", "D7",  //
                                            "I01", "D", "I01", "D1", "I11", "D1", "I01", "D", "I01", "D7"}));
    EXPECT_EQ(m_sim.GetItem(1, 10), "2");
    EXPECT_EQ(m_sim.GetItem(1, 1), "7");
}

TEST_F(AsciiTransferTest, SingleParametersSendTheirItems) {
    const struct {
        int32_t code;
        const char* tag;
        LineList lines;
    } cases[] = {
        {1, "", {"I14", "D-1000.0000 1000.0000"}},
        {2, "", {"I14", "D-1000.0000 1000.0000"}},
        {101, "", {"I12", "D4.0000 20.0000"}},
        {50, "", {"I50", "D1"}},
        {51, "", {"I18", "D2.5"}},
        {62000, "", {"I90", "D6 "}},
        {62000, "AB-1", {"I90", "D6AB-1"}},
        {62002, "", {"G99", "I90", "D0K9RS", "G01"}},
        {62003, "", {"G99", "I90", "D3SN42", "G01"}},
        {20000, "", {}},
        {10000, "", {}},
    };
    SelectSettings();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " " << c.tag);
        CTransferProbe set;
        set.SetValue(0, 1, false);
        set.SetValue(50, 1, false);
        set.SetValue(51, 25000, false);
        set.SetValueFromString(62000, c.tag, false);
        set.SetValueFromString(62002, "K9RS", false);
        set.SetValueFromString(62003, "SN42", false);
        const size_t before = AsciiLines().size();
        set.WriteParamAscii(m_comm, c.code);
        EXPECT_EQ(LinesSince(before), c.lines);
    }
    EXPECT_EQ(Field(90, '6'), "AB-1");
    EXPECT_EQ(Field(90, '3'), "SN42");
}

TEST_F(AsciiTransferTest, ShortRangeRepliesKeepTheValuesNotRead) {
    const struct {
        const char* reply;
        int32_t input0;
        int32_t input100;
    } cases[] = {
        {"", 0, 1000000},
        {"D", 0, 1000000},
        {"Dx", 0, 1000000},
        {"D5.0000", 50000, 1000000},
        {"D-5.0000 12.3456", -50000, 123456},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        CTransferProbe set;
        for (int32_t code : {1, 2}) {
            // G01, I14, then the read
            ReplyWith(m_sim.GetRequestCount() + 2, c.reply);
            set.ReadParamAscii(m_comm, code);
        }
        EXPECT_EQ(set.GetValue(1), c.input0);
        EXPECT_EQ(set.GetValue(2), c.input100);
    }
}

TEST_F(AsciiTransferTest, ItemReadsWithoutANumberKeepTheOldValue) {
    for (const char* reply : {"D", "D ", "Dabc"}) {
        SCOPED_TRACE(reply);
        CTransferProbe set;
        set.SetValue(51, 25000, false);
        ReplyWith(m_sim.GetRequestCount() + 2, reply);  // G01, I18, then the read
        set.ReadParamAscii(m_comm, 51);
        EXPECT_EQ(set.GetValue(51), 25000);
    }
    // An empty reply is no D-reply at all.
    CTransferProbe set;
    ReplyWith(m_sim.GetRequestCount() + 2, "");
    EXPECT_THROW(set.ReadParamAscii(m_comm, 51), CPrivateException);
}

TEST_F(AsciiTransferTest, FineAdjustUploadKeepsWhatShortRepliesLack) {
    // I31, DZ, I19, D, I20, DS
    const struct {
        const char* zero;
        const char* fineZero;
        const char* outputSpan;
        int32_t values[5];  // 10000, 10001, 10002, 10003, 10004
    } cases[] = {
        {"", "D", "", {11, 22, 10033, 44, 10055}},
        {"D", "D", "D", {11, 22, 10033, 44, 10055}},
        {"DZ", "D ", "DS", {11, 22, 10033, 44, 10055}},
        {"DZ0.0012", "D-1.5", "DS0.9800", {12, 22, 10033, -150, 9800}},
        {"DZ0.0012 -0.0034 1.0100", "D2.5000", "DS1.0200", {12, -34, 10100, 250, 10200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zero);
        SelectSettings();
        const size_t first = m_sim.GetRequestCount();
        ReplyWith(first + 1, c.zero);
        ReplyWith(first + 3, c.fineZero);
        ReplyWith(first + 5, c.outputSpan);
        CTransferProbe set;
        const int32_t codes[] = {10000, 10001, 10002, 10003, 10004};
        const int32_t old[] = {11, 22, 10033, 44, 10055};
        for (size_t i = 0; i < 5; ++i) set.SetValue(codes[i], old[i], false);
        set.UploadAscii(m_comm, 1);
        for (size_t i = 0; i < 5; ++i) EXPECT_EQ(set.GetValue(codes[i]), c.values[i]) << codes[i];
        EXPECT_EQ(set.Steps(), 5);
        EXPECT_EQ(LinesSince(AsciiLines().size() - 6), (LineList{"I31", "DZ", "I19", "D", "I20", "DS"}));
    }
}

TEST_F(AsciiTransferTest, IdentityUploadEmptiesTextsButKeepsNumbers) {
    const struct {
        const char* tag;
        const char* serial;
        const char* date;
        const char* wantTag;
        const char* wantSerial;
        int32_t wantDate;
    } cases[] = {
        {"", "", "", "", "", 1234},
        {"D", "D", "D", "", "", 1234},
        {"DTAG-1", "DSN7", "D131793671", "TAG-1", "SN7", 131793671},
    };
    m_sim.SetItem(1, 4, "12.5000");
    m_sim.SetItem(1, 5, " 50.0000 ");
    m_sim.SetItem(1, 2, "12.0000");
    m_sim.SetItem(1, 3, "50.0001");
    m_sim.SetItem(0, 1, "12800");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        SelectSettings();
        // I04 D I05 D I02 D I03 D G00 I01 D G01 I90, then D6, D3 and D5
        const size_t first = m_sim.GetRequestCount();
        ReplyWith(first + 13, c.tag);
        ReplyWith(first + 14, c.serial);
        ReplyWith(first + 15, c.date);
        CTransferProbe set;
        set.SetDate(1234);
        set.UploadAscii(m_comm, 10);
        EXPECT_EQ(LinesSince(AsciiLines().size() - 16),
                  (LineList{"I04", "D", "I05", "D", "I02", "D", "I03", "D", "G00", "I01", "D", "G01", "I90",
                            "D6", "D3", "D5"}));
        EXPECT_EQ(set.GetValueString(62000), c.wantTag);
        EXPECT_EQ(set.GetValueString(62003), c.wantSerial);
        EXPECT_EQ(set.Date(), c.wantDate);
        EXPECT_EQ(set.LiveInputValue(), 125000);
        EXPECT_EQ(set.LiveInputPercent(), 500000);
        EXPECT_EQ(set.LiveOutputValue(), 120000);
        EXPECT_EQ(set.LiveOutputPercent(), 500001);
        EXPECT_EQ(set.GetStatus(), 12800u);
        EXPECT_EQ(set.Steps(), 0);
    }
}

TEST_F(AsciiTransferTest, TableDownloadSendsEveryPoint) {
    CTransferProbe set;
    set.SetValue(20000, 1, false);
    set.SetValue(20004, 123456, false);  // X[1]
    set.DownloadAscii(m_comm, 2);
    const LineList lines = AsciiLines();
    ASSERT_EQ(lines.size(), 1u + 2u + 2u + 202u + 1u);
    EXPECT_EQ(LineList(lines.begin(), lines.begin() + 5), (LineList{"G01", "I25", "D1", "I62", "DZ3"}));
    EXPECT_EQ(lines[5], "DX0D-2.0000");
    EXPECT_EQ(lines[6], "DY0D-2.0000");
    EXPECT_EQ(lines[7], "DX1D12.3456");
    EXPECT_EQ(lines[205], "DX100D0.0000");
    EXPECT_EQ(lines[206], "DY100D0.0000");
    EXPECT_EQ(lines.back(), "DW");
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("DX", 0) == 0; }),
        101);
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("DY", 0) == 0; }),
        101);
    EXPECT_EQ(set.Steps(), 204);
    EXPECT_EQ(Field(62, 'W'), "1");
    EXPECT_EQ(Field(62, 'X', 1), "12.3456");
}

TEST_F(AsciiTransferTest, FullDownloadAndUploadCarryTheWholeSet) {
    m_sim.SetItem(1, 1, "3");
    CTransferProbe set;
    set.SetValue(0, 2, false);
    set.SetValue(1, -50000, false);
    set.SetValue(2, 50000, false);
    set.SetValue(51, 15000, false);
    set.SetValue(100, 1, false);
    set.SetValue(101, -40000, false);
    set.SetValue(102, 40000, false);
    set.SetValue(10000, 120, false);
    set.SetValue(10001, -340, false);
    set.SetValue(10002, 10100, false);
    set.SetValue(10003, -250, false);
    set.SetValue(10004, 9900, false);
    set.SetValue(20000, 1, false);
    set.SetValue(20001, 4, false);
    set.SetValue(20009, 777777, false);  // Y[3]
    set.DownloadAscii(m_comm, -1);
    EXPECT_EQ(set.Steps(), 218);
    const LineList lines = AsciiLines();
    EXPECT_EQ(LineList(lines.begin(), lines.begin() + 5), (LineList{"G01", "I01", "D", "I01", "D1"}));
    EXPECT_EQ(LineList(lines.end() - 5, lines.end()), (LineList{"DW", "I01", "D", "I01", "D3"}));
    EXPECT_EQ(Field(31, 'Z'), "0.0120 -0.0340");
    EXPECT_EQ(Field(31, 'S'), "1.0100");
    EXPECT_EQ(Field(20, 'S'), "0.9900");

    CTransferProbe back;
    back.SetOnline(true);
    back.UploadAscii(m_comm, -1);
    EXPECT_EQ(back.Steps(), 218);
    for (int32_t code :
         {0, 1, 2, 51, 100, 101, 102, 10000, 10001, 10002, 10003, 10004, 20000, 20001, 20002, 20009, 20203})
        EXPECT_EQ(back.GetValue(code), set.GetValue(code)) << code;
}

TEST_F(AsciiTransferTest, AFailedDownloadLeavesItem01Raised) {
    m_sim.SetItem(1, 1, "3");
    m_sim.InjectFaultFrom(12, SimFault::Silence());
    CTransferProbe set;
    EXPECT_THROW(set.DownloadAscii(m_comm, -1), CPrivateException);
    EXPECT_EQ(m_sim.GetItem(1, 1), "1");
}

}  // namespace
