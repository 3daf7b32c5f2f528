#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/com_settings.h"
#include "link/serial_io.h"
#include "support/pty_line.h"
#include "support/scaled_timing.h"

// A read takes no pause but its 10 ms wait steps, so these run at the exact timing: a time-out below one
// step then means no wait step at all.
class SerialIOTest : public ScaledTiming {
protected:
    SerialIOTest() : ScaledTiming(1) {}
};

inline std::unique_ptr<CSerialIO> OpenOn(const PtyLine& line) {
    auto port = std::make_unique<CSerialIO>(CComSettings(line.Path(), "Line"));
    port->Open();
    return port;
}

inline std::string ReadString(CSerialIO& port, unsigned count) {
    std::vector<uint8_t> buffer(count);
    const unsigned n = port.Read(buffer.data(), count);
    return std::string(buffer.begin(), buffer.begin() + n);
}
