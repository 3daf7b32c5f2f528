#include <gtest/gtest.h>

#include <string>

#include "support/scaled_timing.h"
#include "support/sim_connection.h"
#include "model/device/device_interface.h"
#include "platform/exception.h"
#include "sim/sim_model.h"

namespace {
class FactoryUploadTest : public ScaledTiming {};
}  // namespace

// A device as it leaves the factory uploads into the set of its model with the settings it left with.
TEST_F(FactoryUploadTest, EveryModelUploadsItsFactorySettings) {
    for (const std::string& code : CSimModel::KnownCodes()) {
        SCOPED_TRACE(code);
        SimLink link(code);
        CDeviceInterface device;
        device.SetModbus(&link.modbus);
        try {
            device.Upload();
        } catch (const CException& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        const auto set = device.AccessSet();
        EXPECT_EQ(set->GetValue(103), 215000);
        EXPECT_EQ(set->GetValue(104), 38000);
        EXPECT_EQ(set->GetValue(67), 230000);
        EXPECT_EQ(set->GetValue(60), 1);
        EXPECT_EQ(set->GetValue(101), 40000);
        EXPECT_EQ(set->GetValue(102), 200000);
        EXPECT_EQ(set->GetValue(10002), 10000);
        EXPECT_EQ(set->GetValue(10004), 10000);
        EXPECT_EQ(set->GetValueString(62000), "Default");
    }
}
