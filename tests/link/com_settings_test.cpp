#include "link/com_settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/profile.h"
#include "support/temp_folder.h"

TEST(ComSettings, LineTablesFallBackOutsideTheirRange) {
    struct Case {
        int32_t index;
        unsigned baud;
        int32_t dataBits;
        int32_t stopBits;
    };
    const Case cases[] = {
        {-1, 1200, 7, CComSettings::kOneStopBit},        {0, 1200, 7, CComSettings::kOneStopBit},
        {1, 2400, 8, CComSettings::kTwoStopBits},        {3, 9600, 7, CComSettings::kOneStopBit},
        {5, 38400, 7, CComSettings::kOneStopBit},        {6, 1200, 7, CComSettings::kOneStopBit},
        {INT32_MIN, 1200, 7, CComSettings::kOneStopBit},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CComSettings::BaudRate(c.index), c.baud) << c.index;
        EXPECT_EQ(CComSettings::DataBits(c.index), c.dataBits) << c.index;
        EXPECT_EQ(CComSettings::StopBits(c.index), c.stopBits) << c.index;
    }
}

TEST(ComSettings, LegacyPortNamesMapToDevicePaths) {
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"com3", "/dev/ttyS2"},
        {"\\\\.\\COM12", "/dev/ttyS11"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/pts/7", "/dev/pts/7"},
        {"COM0", "COM0"},
        {"COM", "COM"},
        {"COM2x", "COM2x"},
        {"COM99999999999", "COM99999999999"},
        {"", ""},
    };
    for (const auto& [name, path] : cases) EXPECT_EQ(CComSettings::PortPathFromProfile(name), path) << name;
}

TEST(ComSettings, LoadsThePortFromTheProfile) {
    struct Case {
        const char* name;         // nullptr: not in the profile
        const char* displayName;  // nullptr: not in the profile
        const char* path;
        const char* display;
    };
    const Case cases[] = {
        {nullptr, nullptr, "/dev/ttyS0", ""},
        {"COM3", "COM3", "/dev/ttyS2", "COM3"},
        {"\\\\.\\COM12", nullptr, "/dev/ttyS11", ""},
        {"/dev/ttyUSB0", "Zenta converter (ttyUSB0)", "/dev/ttyUSB0", "Zenta converter (ttyUSB0)"},
    };
    const char* old = getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    for (const Case& c : cases) {
        CTempFolder folder;
        setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
        if (c.name) {
            ASSERT_TRUE(WriteProfileString("ComSettings", "COMPortName", c.name));
        }
        if (c.displayName) {
            ASSERT_TRUE(WriteProfileString("ComSettings", "COMPortDisplayName", c.displayName));
        }
        CComSettings settings("/dev/ttyS9", "before");
        settings.m_baudIndex = 4;
        settings.m_parity = CComSettings::kParityNone;
        settings.LoadFromProfile();
        EXPECT_EQ(settings.GetPortName(), c.path);
        EXPECT_EQ(settings.GetDisplayName(), c.display);
        EXPECT_EQ(settings.m_baudIndex, 0);
        EXPECT_EQ(settings.m_parity, CComSettings::kParityOdd);
        EXPECT_EQ(CComSettings().GetPortName(), c.path);
    }
    if (old) {
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}
