#include "sim/sim_factory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sim/sim_ascii_model.h"

TEST(SimFactory, EveryModelLeavesTheFactoryWithItsSettings) {
    struct Case {
        std::string code;
        uint16_t inputType;  // 1280
        uint16_t stage;      // 2058: wires, burnout, range and kind bits
        int32_t zeroInput;   // 1288, 1289
        int32_t fullInput;   // 1290, 1291
    };
    const Case cases[] = {
        {"K9RS", 0, 0x2A, -2000000, 8500000},  {"K9TS", 0, 0x28, -1800000, 13720000},
        {"K9PM", 0, 0x0C, 0, 1000000},         {"K9U0", 0, 0x28, -1800000, 13720000},
        {"K9U1", 0, 0x2A, -2000000, 8500000},  {"K9U2", 30, 0x2C, 0, 1000000},
        {"K9U3", 40, 0x2A, 0, 5000000},        {"K9U4", 0, 0x2D, -1800000, 13720000},
        {"K9U5", 0, 0x2D, -1800000, 13720000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const std::unique_ptr<CSimModel> model = CSimModel::Create(c.code);
        ASSERT_TRUE(model);
        const auto word = [&](int high) {
            return static_cast<int32_t>(static_cast<uint32_t>(model->GetRegister(high)) << 16 |
                                        model->GetRegister(high + 1));
        };
        EXPECT_EQ(model->GetRegister(1280), c.inputType);
        EXPECT_EQ(model->GetRegister(2058), c.stage);
        EXPECT_EQ(word(1288), c.zeroInput);
        EXPECT_EQ(word(1290), c.fullInput);
        // 23 mA at burnout, limits 21.5 mA and 3.8 mA, 4 to 20 mA output.
        EXPECT_EQ(model->GetRegister(2059), 57500);
        EXPECT_EQ(model->GetRegister(2061), 53750);
        EXPECT_EQ(model->GetRegister(2062), 9500);
        EXPECT_EQ(model->GetRegister(1284), 4000);
        EXPECT_EQ(model->GetRegister(1285), 20000);
        EXPECT_EQ(model->GetRegister(2065), 10000);
        EXPECT_EQ(model->GetRegister(2067), 10000);
        EXPECT_EQ(model->GetRegister(1024), 'D' | 'e' << 8);
        EXPECT_EQ(model->GetRegister(1027), 't');
        EXPECT_EQ(model->GetRegister(1056), 'D');
        EXPECT_EQ(model->GetModelCode(), c.code);
    }
}

TEST(SimFactory, PotentiometerTableFollowsItsLinearizer) {
    const std::unique_ptr<CSimModel> model = CSimModel::Create("K9PM");
    EXPECT_EQ(model->GetRegister(0), 4000);     // -15 %
    EXPECT_EQ(model->GetRegister(15), 10000);   // 0 %
    EXPECT_EQ(model->GetRegister(115), 50000);  // 100 %
    EXPECT_EQ(model->GetRegister(130), 56000);  // 115 %
    EXPECT_EQ(model->GetRegister(1348), 3);     // three points
}

TEST(SimFactory, DcInputDeviceHasOnlyTheSharedSettings) {
    const std::unique_ptr<CSimAsciiModel> model = CSimAsciiModel::CreateDcInput();
    EXPECT_EQ(model->GetRegister(1284), 4000);
    EXPECT_EQ(model->GetRegister(2059), 0);
}
