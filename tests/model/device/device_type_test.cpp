#include <gtest/gtest.h>

#include <string>

#include "model/device/device_type.h"
#include "model/potentiometer/par_type_pm.h"
#include "model/rtd/par_type_r.h"
#include "model/thermocouple/par_type_t.h"
#include "model/universal/par_type_u2.h"
#include "model/universal/par_type_u3.h"
#include "model/thermocouple/par_type_u4.h"
#include "model/thermocouple/par_type_u5.h"

namespace {

TEST(DeviceType, ModelCodesSelectTheirClassInOrder) {
    const struct {
        const char* code;
        int32_t typeId;  // 0: no class takes the code
        const char* modelCode;
    } cases[] = {
        {"K9TS", 1, "K9TS"}, {"K9T", 1, "K9TS"},   {"K9RS", 2, "K9R"},  {"K9R", 2, "K9R"},
        {"K9PM", 3, "K9PM"}, {"K9PMX", 3, "K9PM"}, {"K9U0", 4, "K9U0"}, {"K9U1", 5, "K9U1"},
        {"K9U2", 6, "K9U2"}, {"K9U3", 7, "K9U3"},  {"K9U4", 8, "K9U4"}, {"K9U5", 9, "K9U5"},
        {"K9U", 0, ""},      {"K9U6", 0, ""},      {"K9U9", 0, ""},     {"", 0, ""},
        {"K9", 0, ""},       {"k9ts", 0, ""},      {"K9P", 0, ""},      {"XK9T", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CDeviceType registry;
        const CParBase* before = registry.GetParBase();
        CParBase* set = registry.SetModel(c.code);
        if (c.typeId == 0) {
            EXPECT_EQ(set, nullptr);
            EXPECT_EQ(registry.GetParBase(), before);
            EXPECT_EQ(before->GetTypeId(), 2);
            continue;
        }
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->GetTypeId(), c.typeId);
        EXPECT_EQ(set->GetModelCode(), c.modelCode);
    }
}

TEST(DeviceType, ClassesFollowTheTypeId) {
    CDeviceType registry;
    EXPECT_NE(dynamic_cast<CParTypeR*>(registry.GetParBase()), nullptr);
    EXPECT_NE(dynamic_cast<CParTypeT*>(registry.SetModel("K9TS")), nullptr);
    EXPECT_NE(dynamic_cast<CParTypePM*>(registry.SetModel("K9PM")), nullptr);
    EXPECT_NE(dynamic_cast<CParTypeT*>(registry.SetModel("K9U0")), nullptr);
    EXPECT_NE(dynamic_cast<CParTypeR*>(registry.SetModel("K9U1")), nullptr);
    EXPECT_NE(dynamic_cast<CParTypeU2*>(registry.SetModel("K9U2")), nullptr);
    EXPECT_NE(dynamic_cast<CParTypeU3*>(registry.SetModel("K9U3")), nullptr);
    EXPECT_NE(dynamic_cast<CParTypeU4*>(registry.SetModel("K9U4")), nullptr);
    EXPECT_NE(dynamic_cast<CParTypeU5*>(registry.SetModel("K9U5")), nullptr);
}

TEST(DeviceType, SameTypeIdKeepsTheSetAndItsValues) {
    CDeviceType registry;
    CParBase* thermocouple = registry.SetModel("K9TS");
    thermocouple->SetValue(51, 20000, false);
    thermocouple->SetOnline(true);
    EXPECT_EQ(registry.SetModel("K9T"), thermocouple);
    EXPECT_EQ(registry.SetTypeId(1), thermocouple);
    EXPECT_EQ(thermocouple->GetValue(51), 20000);
    EXPECT_TRUE(thermocouple->IsOnline());

    // Same class, other type id: a new default set.
    CParBase* universal = registry.SetModel("K9U1");
    universal->SetValue(51, 20000, false);
    CParBase* rtd = registry.SetModel("K9R");
    EXPECT_EQ(rtd->GetTypeId(), 2);
    EXPECT_EQ(rtd->GetModelCode(), "K9R");
    EXPECT_NE(rtd->GetValue(51), 20000);
}

TEST(DeviceType, TypeIdsOutsideTheModelsLeaveTheSet) {
    CDeviceType registry;
    CParBase* held = registry.SetTypeId(3);
    for (int32_t typeId : {0, -1, 10, 1000}) {
        EXPECT_EQ(registry.SetTypeId(typeId), held) << typeId;
        EXPECT_EQ(held->GetTypeId(), 3);
    }
    EXPECT_EQ(registry.SetTypeId(4)->GetModelCode(), "K9U0");
}

TEST(DeviceType, ModelNames) {
    const struct {
        int32_t typeId;
        const char* name;
    } cases[] = {
        {0, "W5DXV, W5NXV"},  {1, "K9TS"},         {2, "K9RS,K9R"}, {3, "K9PM"},
        {4, "K9U(TC)"},       {5, "K9U(RTD)"},     {6, "K9U(V)"},   {7, "K9U(Res)"},
        {8, "K9U(2TC-Diff)"}, {9, "K9U(2TC-Ave)"}, {-1, ""},        {10, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CDeviceType::GetModelName(c.typeId), c.name) << c.typeId;
}

}  // namespace
