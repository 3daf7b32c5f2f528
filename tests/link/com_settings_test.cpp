#include "link/com_settings.h"

#include <gtest/gtest.h>

TEST(ComSettings, LineTablesFallBackOutsideTheirRange) {
    struct Case {
        int32_t index;
        unsigned baud;
        int32_t dataBits;
        int32_t stopBits;
    };
    const Case cases[] = {
        {-1, 1200, 7, CComSettings::kOneStopBit},  {0, 1200, 7, CComSettings::kOneStopBit},
        {1, 2400, 8, CComSettings::kTwoStopBits},  {3, 9600, 7, CComSettings::kOneStopBit},
        {5, 38400, 7, CComSettings::kOneStopBit},  {6, 1200, 7, CComSettings::kOneStopBit},
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
        {"COM1", "/dev/ttyS0"},         {"com3", "/dev/ttyS2"},         {"\\\\.\\COM12", "/dev/ttyS11"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"}, {"/dev/pts/7", "/dev/pts/7"}, {"COM0", "COM0"},
        {"COM", "COM"},                 {"COM2x", "COM2x"},             {"COM99999999999", "COM99999999999"},
        {"", ""},
    };
    for (const auto& [name, path] : cases) EXPECT_EQ(CComSettings::PortPathFromProfile(name), path) << name;
}

TEST(ComSettings, PortConstructorKeepsTheFixedLine) {
    const CComSettings settings("/dev/ttyUSB1", "USB serial");
    EXPECT_EQ(settings.GetPortName(), "/dev/ttyUSB1");
    EXPECT_EQ(settings.GetDisplayName(), "USB serial");
    EXPECT_EQ(settings.m_mode, 0);
    EXPECT_EQ(settings.m_slaveAddress, 1);
    EXPECT_EQ(CComSettings::BaudRate(settings.m_baudIndex), 1200u);
    EXPECT_EQ(CComSettings::DataBits(settings.m_dataBitsIndex), 8);
    EXPECT_EQ(settings.m_parity, CComSettings::kParityOdd);
    EXPECT_EQ(CComSettings::StopBits(settings.m_stopBitsIndex), CComSettings::kOneStopBit);
}
