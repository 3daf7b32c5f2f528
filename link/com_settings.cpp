#include "link/com_settings.h"

#include <array>
#include <cctype>

#include "platform/c_number.h"
#include "platform/profile.h"

namespace {
constexpr std::array<unsigned, 6> kBaudRates = {1200, 2400, 4800, 9600, 19200, 38400};
constexpr std::array<int32_t, 2> kDataBits = {7, 8};
constexpr std::array<int32_t, 2> kStopBits = {CComSettings::kOneStopBit, CComSettings::kTwoStopBits};

template <typename T, std::size_t N>
T Lookup(const std::array<T, N>& table, int32_t index, T fallback) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return fallback;
    return table[static_cast<std::size_t>(index)];
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (std::toupper(a) != std::toupper(b)) return false;
    }
    return true;
}
}  // namespace

CComSettings::CComSettings() { LoadFromProfile(); }

CComSettings::CComSettings(std::string portPath, std::string displayName)
    : m_portPath(std::move(portPath)), m_displayName(std::move(displayName)) {}

void CComSettings::LoadFromProfile() {
    m_portPath = PortPathFromProfile(GetProfileString("ComSettings", "COMPortName", "COM1"));
    m_displayName = GetProfileString("ComSettings", "COMPortDisplayName", "");
    m_mode = 0;
    m_slaveAddress = 1;
    m_baudIndex = 0;
    m_dataBitsIndex = 1;
    m_parity = kParityOdd;
    m_stopBitsIndex = 0;
}

unsigned CComSettings::BaudRate(int32_t index) { return Lookup(kBaudRates, index, 1200u); }

int32_t CComSettings::DataBits(int32_t index) { return Lookup(kDataBits, index, 7); }

int32_t CComSettings::StopBits(int32_t index) { return Lookup(kStopBits, index, kOneStopBit); }

std::string CComSettings::PortPathFromProfile(const std::string& name) {
    std::string rest = name;
    if (rest.rfind("\\\\.\\", 0) == 0) rest = rest.substr(4);
    if (!StartsWithNoCase(rest, "COM") || rest.size() == 3) return name;
    const std::string digits = rest.substr(3);
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return name;
    }
    const auto number = ParseInt32Checked(digits);
    if (!number || *number < 1) return name;
    return FormatC("/dev/ttyS%d", *number - 1);
}
