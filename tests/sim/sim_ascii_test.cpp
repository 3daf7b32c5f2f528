#include <gtest/gtest.h>

#include <string>

#include "sim/sim_device.h"
#include "sim/sim_frames.h"
#include "sim/sim_line.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kWait = 2000ms;

std::string Ask(CSimLine& line, const std::string& command) {
    line.Write(command);
    return line.ReadLine(kWait);
}

}  // namespace

TEST(SimAscii, AnswersGroupItemAndDataCommands) {
    struct Step {
        const char* command;
        const char* reply;
    };
    const Step steps[] = {
        {"G01\r", "Denter item number\r"},
        {"I05\r", "D05\r"},
        {"D\r", "D\r"},  // nothing stored yet
        {"D12.5\r", "D12.5\r"},
        {"D\r", "D12.5\r"},
        {"I06\r", "D06\r"},
        {"D\r", "D\r"},
        {"G100\r", "Denter item number\r"},
        {"I05\r", "D05\r"},
        {"D\r", "D\r"},  // items belong to their group
        {"DZZ1 2\r", "DZZ1 2\r"},
        {"G01\r", "Denter item number\r"},
        {"I05\r", "D05\r"},
        {"D\r", "D12.5\r"},
        {"X\r", "E\r"},
        {"G1x\r", "E\r"},
        {"I\r", "E\r"},
    };
    CSimDevice device("K9TS");
    CSimLine line(device.GetSlavePath());
    for (const Step& step : steps) EXPECT_EQ(Ask(line, step.command), step.reply) << step.command;
    EXPECT_EQ(device.GetItem(1, 5), "12.5");
    EXPECT_EQ(device.GetItem(100, 5), "ZZ1 2");

    const auto requests = device.GetRequests();
    ASSERT_EQ(requests.size(), std::size(steps));
    EXPECT_EQ(requests[0].kind, ESimRequestKind::Ascii);
    EXPECT_EQ(requests[0].line, "G01");
    EXPECT_EQ(requests[3].raw, (std::vector<uint8_t>{'D', '1', '2', '.', '5', '\r'}));
}

TEST(SimAscii, ItemsSetFromTestsAreRead) {
    CSimDevice device("K9RS");
    device.SetItem(0, 1, "512");
    CSimLine line(device.GetSlavePath());
    Ask(line, "G00\r");
    Ask(line, "I01\r");
    EXPECT_EQ(Ask(line, "D\r"), "D512\r");
}

TEST(SimAscii, SharesTheLineWithModbus) {
    CSimDevice device("K9TS");
    CSimLine line(device.GetSlavePath());
    line.Write(std::string("G01\r"));
    line.Write(SimReadRequest(1064, 1));
    line.Write(std::string("\r\nI02\r"));  // stray line ends before a command are skipped
    EXPECT_EQ(line.ReadLine(kWait), "Denter item number\r");
    EXPECT_EQ(line.Read(7, kWait), SimReadReply({1}));
    EXPECT_EQ(line.ReadLine(kWait), "D02\r");
    ASSERT_EQ(device.GetRequestCount(), 3u);
}

// A device streaming or receiving bytes without a line end must not grow its buffer for ever.
TEST(SimAscii, OverlongLineIsDroppedAsAFragment) {
    CSimDevice device("K9TS");
    CSimLine line(device.GetSlavePath());
    line.Write(std::string(1100, 'A'));
    ASSERT_TRUE(device.WaitForRequests(1, kWait));
    EXPECT_EQ(device.GetRequests()[0].kind, ESimRequestKind::Fragment);
    EXPECT_EQ(Ask(line, "G02\r"), "Denter item number\r");
}

// A model that needs its own item behaviour derives from the common one.
TEST(SimAscii, ModelsOverrideItemAnswers) {
    class CCountingModel : public CSimModel {
    public:
        CCountingModel() : CSimModel(*CSimModel::FindInfo("K9TS")) {}
        std::string AnswerItem(int group, int item, const std::string& data) override {
            return "D" + std::to_string(group * 100 + item) + data;
        }
    };
    CSimDevice device(std::make_unique<CCountingModel>());
    CSimLine line(device.GetSlavePath());
    Ask(line, "G99\r");
    Ask(line, "I03\r");
    EXPECT_EQ(Ask(line, "D!\r"), "D9903!\r");
    EXPECT_EQ(device.GetModelCode(), "K9TS");
}
