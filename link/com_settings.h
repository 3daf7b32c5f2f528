#pragma once

#include <cstdint>
#include <string>

// The port and line settings that the protocol objects open their port with. Only the port comes from
// the user profile; the line is always 1200 bit/s, 8 data bits, odd parity, one stop bit.
class CComSettings {
public:
    // Parity codes as the settings store them.
    static constexpr int32_t kParityNone = 0;
    static constexpr int32_t kParityOdd = 1;
    static constexpr int32_t kParityEven = 2;
    static constexpr int32_t kParityMark = 3;
    static constexpr int32_t kParitySpace = 4;
    // Stop-bit codes that the stop-bits table yields.
    static constexpr int32_t kOneStopBit = 0;
    static constexpr int32_t kTwoStopBits = 2;

    // Loads from the user profile.
    CComSettings();
    // The loader's fixed line settings on the given port, without touching the profile.
    CComSettings(std::string portPath, std::string displayName);

    void LoadFromProfile();

    std::string GetPortName() const { return m_portPath; }
    std::string GetDisplayName() const { return m_displayName; }

    // The line-setting tables; an index outside a table selects its fallback.
    static unsigned BaudRate(int32_t index);
    static int32_t DataBits(int32_t index);
    static int32_t StopBits(int32_t index);

    // A profile port name as a device path: "COMn" and "\\.\COMn" (n >= 1, any letter case) become
    // /dev/ttyS{n-1}; everything else is taken as a path already.
    static std::string PortPathFromProfile(const std::string& name);

    int32_t m_mode = 0;
    int32_t m_slaveAddress = 1;
    std::string m_portPath;
    std::string m_displayName;
    int32_t m_baudIndex = 0;
    int32_t m_dataBitsIndex = 1;
    int32_t m_parity = kParityOdd;
    int32_t m_stopBitsIndex = 0;
};
