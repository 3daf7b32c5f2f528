#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/recording_notifier.h"
#include "support/request_list.h"
#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "support/thrown_message.h"
#include "model/device/device_interface.h"
#include "model/device/device_type.h"
#include "model/hooks/notifier.h"
#include "platform/exception.h"

namespace {

using Blocks = std::vector<std::string>;

class DeviceInterfaceTest : public ScaledTiming {
protected:
    void Connect(const std::string& code) {
        m_link = std::make_unique<SimLink>(code);
        // A fresh simulated device holds zeros, which not every model accepts: load the defaults.
        CDeviceType registry;
        CDeviceInterface loader;
        loader.SetModbus(&m_link->modbus);
        loader.Download(*registry.SetModel(code));
        m_device.SetModbus(&m_link->modbus);
        m_device.RequestIdentify();
    }
    size_t Requests() const { return m_link->sim.GetRequestCount(); }
    Blocks Since(size_t first) const { return ModbusBlocks(m_link->sim, first); }

    // The blocks a fresh set of the model reads for each part, in order, against the same device.
    Blocks PartBlocks(const std::string& code, std::initializer_list<int32_t> parts) {
        CDeviceType registry;
        std::unique_ptr<CParBase> reference = registry.SetModel(code)->CreateInstance();
        const size_t first = Requests();
        for (int32_t part : parts) reference->UploadModbus(m_link->modbus, part);
        return Since(first);
    }

    void Identify() {
        m_device.Poll(CDeviceInterface::kTabAll);
        ASSERT_TRUE(m_device.IsIdentified());
    }

    std::unique_ptr<SimLink> m_link;
    CDeviceInterface m_device;
};

TEST_F(DeviceInterfaceTest, FirstPollIdentifiesAndSecondDeliversLiveValues) {
    // clang-format off
    const struct {
        const char* code;
        int32_t typeId;
        bool calibration;
        int32_t channels;
    } cases[] = {
        {"K9RS", 2, false, 1}, {"K9TS", 1, false, 1}, {"K9PM", 3, true, 1},
        {"K9U0", 4, false, 1}, {"K9U1", 5, false, 1}, {"K9U2", 6, false, 1},
        {"K9U3", 7, false, 1}, {"K9U4", 8, false, 2}, {"K9U5", 9, false, 2},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Connect(c.code);
        const Blocks parts = PartBlocks(c.code, {kPartFineAdjust, kPartBasic, kPartIdentity, kPartStatus});
        const Blocks live = PartBlocks(c.code, {kPartLive, kPartStatus});
        Blocks identification = {"R2074x4"};
        identification.insert(identification.end(), parts.begin(), parts.end());
        identification.push_back("R2064x4");
        if (c.channels == 2) identification.push_back("R2053x2");

        size_t first = Requests();
        m_device.Poll(CDeviceInterface::kTabAll);
        EXPECT_EQ(Since(first), identification);
        EXPECT_TRUE(m_device.IsIdentified());
        EXPECT_FALSE(m_device.IsValid());
        EXPECT_EQ(m_device.AccessSet()->GetTypeId(), c.typeId);
        EXPECT_TRUE(m_device.AccessSet()->IsOnline());
        EXPECT_EQ(m_device.GetCalibInfo().available, c.calibration);
        EXPECT_EQ(m_device.GetAdjustInfo().inputAdjustUnavailable, c.calibration);
        EXPECT_EQ(m_device.GetAdjustInfo().channelCount, c.channels);

        first = Requests();
        m_device.Poll(CDeviceInterface::kTabAll);
        EXPECT_EQ(Since(first), live);
        EXPECT_TRUE(m_device.IsValid());
    }
}

TEST_F(DeviceInterfaceTest, ModelCodeDecidesWhetherTheSetIsReplaced) {
    Connect("K9RS");
    Identify();
    // clang-format off
    const struct {
        const char* code;
        bool identified;
        int32_t typeId;
        bool sameSet;
    } steps[] = {
        {"K9R", true, 2, true},    // same type id: the set and its values stay
        {"K9TS", true, 1, false},  // another model: a set of its class
        {"K9Q0", false, 1, true},  // unknown: the set stays, not identified
        {"K9U0", true, 4, false},
        {"K9U1", true, 5, false},  // same class as the RTD model, other type id
    };
    // clang-format on
    for (const auto& step : steps) {
        SCOPED_TRACE(step.code);
        const CParBase* before = &*m_device.AccessSet();
        SetModelCode(m_link->sim, step.code);
        m_device.RequestIdentify();
        m_device.Poll(0);
        EXPECT_EQ(m_device.IsIdentified(), step.identified);
        EXPECT_FALSE(m_device.IsValid());
        EXPECT_EQ(m_device.AccessSet()->GetTypeId(), step.typeId);
        EXPECT_EQ(&*m_device.AccessSet() == before, step.sameSet);
    }
}

TEST_F(DeviceInterfaceTest, FailedPollResetsTheStateAndTheNextIdentifiesAgain) {
    Connect("K9PM");
    Identify();
    m_device.Poll(0);
    ASSERT_TRUE(m_device.IsValid());
    ASSERT_TRUE(m_device.GetCalibInfo().available);

    // Refusing from the first block after the model code on.
    m_device.RequestIdentify();
    m_link->sim.InjectFaultFrom(Requests() + 1, SimFault::Exception(4));
    EXPECT_THROW(m_device.Poll(0), CException);
    EXPECT_FALSE(m_device.IsIdentified());
    EXPECT_FALSE(m_device.IsValid());
    EXPECT_FALSE(m_device.AccessSet()->IsOnline());
    EXPECT_FALSE(m_device.GetCalibInfo().available);
    EXPECT_EQ(m_device.GetCalibInfo().status, 0);

    m_link->sim.ClearFaults();
    const size_t first = Requests();
    m_device.Poll(0);
    ASSERT_FALSE(Since(first).empty());
    EXPECT_EQ(Since(first).front(), "R2074x4");
    EXPECT_TRUE(m_device.IsIdentified());
}

TEST_F(DeviceInterfaceTest, LivePollReadsStatusOnlyForTheLoopTestPageOrAllPages) {
    Connect("K9RS");
    Identify();
    const Blocks live = PartBlocks("K9RS", {kPartLive});
    const Blocks withStatus = PartBlocks("K9RS", {kPartLive, kPartStatus});
    for (int32_t tab : {-1, 0, 1, 3, 4, 5}) {
        SCOPED_TRACE(tab);
        const size_t first = Requests();
        m_device.Poll(tab);
        EXPECT_EQ(Since(first), tab == 4 || tab == -1 ? withStatus : live);
    }
}

// The device reports its input only through its output: once a loop test or a burnout has forced the
// output, the input shown is still the device's input.
TEST_F(DeviceInterfaceTest, AForcedOutputNeverShowsAsTheInput) {
    const struct {
        const char* model;
        const char* input;  // at 12 mA: 50 % of 0 to 500
    } models[] = {
        {"K9RS", "250.000deg C, 50.00%"}, {"K9TS", "250.000deg C, 50.00%"}, {"K9U3", "250.000Ohm, 50.00%"}};
    // The loop test at 6 mA, a burnout.
    const std::pair<int, uint16_t> forces[] = {{2072, 15000}, {2073, 1}};
    for (const auto& m : models) {
        for (const auto& [reg, value] : forces) {
            SimLink link(m.model);
            CDeviceType registry;
            const std::unique_ptr<CParBase> set = registry.SetModel(m.model)->Clone();
            set->SetValue(2, 5000000, false);
            link.sim.SetRegister(2071, 30000);
            // The first read has no earlier output to take the input from; the third is forced.
            for (int read = 0; read < 5; ++read) {
                link.sim.SetRegister(reg, read == 2 ? value : 0);
                set->UploadModbus(link.modbus, kPartLive);
                if (read == 0 || read == 2) continue;
                EXPECT_EQ(set->GetValueString(60000), m.input) << m.model << " " << reg << " read " << read;
            }
        }
    }
}

TEST_F(DeviceInterfaceTest, NotConnectedPollReadsNothingAndForgetsTheDevice) {
    Connect("K9RS");
    Identify();
    m_link->modbus.SetConnected(false);
    const size_t first = Requests();
    m_device.Poll(0);
    EXPECT_TRUE(Since(first).empty());
    EXPECT_FALSE(m_device.IsIdentified());
    EXPECT_FALSE(m_device.AccessSet()->IsOnline());
    EXPECT_FALSE(m_device.IsValid());
}

TEST_F(DeviceInterfaceTest, AdjustmentReadBackIsSignedAndScaled) {
    Connect("K9U0");
    m_link->sim.SetRegisters(2064, {57, 10010, 0xFFFF, 0x8000});
    Identify();
    CAdjustInfo info = m_device.GetAdjustInfo();
    EXPECT_DOUBLE_EQ(info.inputZero[0], 0.057);  // thermocouple scale 1000
    EXPECT_DOUBLE_EQ(info.inputSpan[0], 1.001);
    EXPECT_DOUBLE_EQ(info.outputZero, -0.01);
    EXPECT_DOUBLE_EQ(info.outputSpan, -3.2768);
    EXPECT_DOUBLE_EQ(info.inputZeroLow, -1.5);
    EXPECT_DOUBLE_EQ(info.inputZeroHigh, 1.5);
    EXPECT_EQ(info.GetOutputUnit(), "%");
    EXPECT_EQ(info.channelCount, 1);

    // A pending write keeps the record from being read back over.
    m_link->sim.SetRegisters(2064, {1, 2, 3, 4});
    m_device.SetAdjustWritePending(true);
    m_device.RequestIdentify();
    m_device.Poll(0);
    EXPECT_DOUBLE_EQ(m_device.GetAdjustInfo().outputZero, -0.01);
}

TEST_F(DeviceInterfaceTest, WriteAdjustSnapsEveryValueToTheIntendedCount) {
    // clang-format off
    const struct {
        const char* code;
        int32_t channels;
        double zero1, span1, outZero, outSpan, zero2, span2;
        std::vector<uint16_t> regs, regs2;
    } cases[] = {
        // RTD, scale 100: 0.57 Ohm x 100 is just below 57.
        {"K9RS", 1, 0.57, 1.0010, 0.29, 1.00005, 0, 0, {57, 10010, 29, 10000}, {}},
        {"K9RS", 1, -0.57, 0.9990, -0.29, 0.29, 0, 0, {0xFFC7, 9990, 0xFFE3, 2900}, {}},
        {"K9TS", 1, 1.5, 1.0, 68 / 100.0, 1.0, 0, 0, {1500, 10000, 68, 10000}, {}},
        {"K9U0", 2, 0.001, 1.0, 0.0, 1.0, -0.029, 1.0010, {1, 10000, 0, 10000}, {0xFFE3, 10010}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Connect(c.code);
        Identify();
        CAdjustInfo info;
        info.channelCount = c.channels;
        info.inputZero = {c.zero1, c.zero2};
        info.inputSpan = {c.span1, c.span2};
        info.outputZero = c.outZero;
        info.outputSpan = c.outSpan;
        m_device.SetAdjustWritePending(true);
        m_device.WriteAdjust(info);
        EXPECT_EQ(m_link->sim.GetRegisters(2064, 4), c.regs);
        if (!c.regs2.empty()) {
            EXPECT_EQ(m_link->sim.GetRegisters(2053, 2), c.regs2);
        }
        const CAdjustInfo back = m_device.GetAdjustInfo();
        EXPECT_FALSE(back.writePending.Load());
        EXPECT_DOUBLE_EQ(back.outputZero, static_cast<int16_t>(c.regs[2]) / 100.0);
        if (c.channels == 2) {
            EXPECT_DOUBLE_EQ(back.inputSpan[1], c.span2);
        }
    }
}

TEST_F(DeviceInterfaceTest, WriteAdjustDoesNothingWhileNotConnected) {
    Connect("K9RS");
    m_link->modbus.SetConnected(false);
    const size_t before = Requests();
    CAdjustInfo info;
    info.outputZero = 1.0;
    m_device.SetAdjustWritePending(true);
    m_device.WriteAdjust(info);
    EXPECT_EQ(Requests(), before);

    // The dropped write leaves no pending mark that would keep the next device's values from being read.
    m_link->sim.SetRegisters(2064, {0, 10000, 29, 10000});
    m_link->modbus.SetConnected(true);
    Identify();
    EXPECT_DOUBLE_EQ(m_device.GetAdjustInfo().outputZero, 0.29);
}

TEST_F(DeviceInterfaceTest, TeachRequestsWriteTheInputAndAreClearedEvenWhenRefused) {
    CRecordingNotifier recorder;
    Connect("K9PM");
    m_link->sim.SetRegisters(1288, {0x0001, 0x86A0, 0x000D, 0xBBA0});  // 10 % and 90 %
    Identify();
    m_device.Poll(0);
    ASSERT_TRUE(m_device.IsValid());
    const std::string present = m_device.GetCalibInfo().presentValue;
    ASSERT_FALSE(present.empty());

    // The present position lies below 10 %: fine for the 0 % input, refused for the 100 % input.
    m_device.RequestTeachZero();
    m_device.RequestTeachFull();
    const size_t first = Requests();
    m_device.Poll(0);
    EXPECT_TRUE(m_device.IsValid());
    const CCalibInfo calib = m_device.GetCalibInfo();
    EXPECT_FALSE(calib.zeroRequest.Load());
    EXPECT_FALSE(calib.fullRequest.Load());
    EXPECT_EQ(calib.GetZeroValue(), present);
    EXPECT_EQ(m_link->sim.GetRegisters(1288, 2), (std::vector<uint16_t>{0, 0}));
    EXPECT_EQ(m_link->sim.GetRegisters(1290, 2), (std::vector<uint16_t>{0x000D, 0xBBA0}));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_NE(recorder.messages[0].find("should be a from"), std::string::npos);
    size_t writes = 0;
    for (const std::string& block : Since(first)) writes += block[0] == 'W' ? 1 : 0;
    EXPECT_EQ(writes, 2u);
}

// A device holding a value the editor would refuse is identified and uploaded as it stands; a download
// of that value is refused with its range message before anything is sent, and goes once it is mended.
TEST_F(DeviceInterfaceTest, DeviceOutsideTheTypedRangesIsIdentifiedAndItsValuesReportedOnDownload) {
    // clang-format off
    const struct {
        const char* model;
        std::vector<std::pair<int, uint16_t>> registers;
        int32_t code;
        int32_t held;
        const char* message;
        const char* mended;
    } cases[] = {
        {"K9PM", {{2061, 0}}, 103, 0, "Output high limit should be a from 20.0000 to 21.5000. ", "21.5"},
        {"K9TS", {{2059, 0}}, 67, 0,
         "Output value at burnout should be a from 3.7500-3.8000 or 21.5000-23.0000. ", "23"},
        {"K9RS", {{2062, 20000}}, 104, 80000, "Output low limit should be a from 3.8000 to 4.0000. ", "3.8"},
        {"K9U2", {{1288, 0x0016}, {1289, 0xE364}, {1290, 0x0010}, {1291, 0xC8E0}}, 1, 1500004,
         "0% input should be a from -12.0000 to 109.9996. ", "10"},
        {"K9U4", {{1294, 0xFFFF}, {1295, 0xFFFF}}, 4, -1, "Diff100% should be a from 0.0001 to 9999.0000. ",
         "1"},
        {"K9U3", {{1286, 400}}, 51, 400000, "Damping time constant should be from 0 to 30.", "30"},
        {"K9U5", {{2066, 600}}, 10003, 600, "Output fine zero adjust. should be a from -5.0000 to 5.0000. ", "5"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        Connect(c.model);
        for (const auto& [reg, value] : c.registers) m_link->sim.SetRegister(reg, value);
        m_device.Poll(CDeviceInterface::kTabAll);
        m_device.Poll(CDeviceInterface::kTabAll);
        EXPECT_TRUE(m_device.IsIdentified());
        EXPECT_TRUE(m_device.IsValid());

        m_device.Upload();
        std::unique_ptr<CParBase> uploaded = m_device.AccessSet()->Clone();
        EXPECT_EQ(uploaded->GetValue(c.code), c.held);
        const size_t first = Requests();
        EXPECT_EQ(ThrownMessage([&] { m_device.Download(*uploaded); }), c.message);
        EXPECT_EQ(Since(first), Blocks{});

        uploaded->SetValueFromString(c.code, c.mended, true);
        m_device.Download(*uploaded);
        EXPECT_FALSE(m_link->sim.GetRequests().empty());
    }
}

TEST_F(DeviceInterfaceTest, DownloadCopiesTheSourceWithoutLookingAtTheModel) {
    Connect("K9TS");
    CDeviceType registry;
    CParBase& source = *registry.SetModel("K9RS");
    source.SetValue(51, 20000, false);
    m_device.Download(source);
    EXPECT_EQ(m_device.AccessSet()->GetTypeId(), 2);
    EXPECT_NE(&*m_device.AccessSet(), &source);
    EXPECT_EQ(m_link->sim.GetRegister(1286), 20000 / 1000);
    EXPECT_GT(m_device.GetProgress(), 0);
    EXPECT_EQ(m_device.GetProgress(), m_device.AccessSet()->GetProgress());
}

}  // namespace
