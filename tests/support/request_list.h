#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_device.h"
#include "sim/sim_request.h"

// The notation tests and the simulator write requests in: a Modbus read "R2074x4", a write "W2064x4"
// (start register x count), an ASCII line as it stands without its carriage return, and anything else as
// "?" with its byte count.
inline std::string RequestNotation(const SimRequest& request) {
    switch (request.kind) {
        case ESimRequestKind::Read:
        case ESimRequestKind::Write:
            return (request.kind == ESimRequestKind::Read ? "R" : "W") + std::to_string(request.start) + "x" +
                   std::to_string(request.count);
        case ESimRequestKind::Ascii: return request.line;
        case ESimRequestKind::OtherFunction:
        case ESimRequestKind::Fragment: break;
    }
    return "?" + std::to_string(request.raw.size());
}

// The Modbus reads and writes the device received from request `first` on, in order.
inline std::vector<std::string> ModbusBlocks(const CSimDevice& sim, std::size_t first = 0) {
    std::vector<std::string> blocks;
    for (const SimRequest& r : sim.GetRequests()) {
        if (r.index >= first && (r.kind == ESimRequestKind::Read || r.kind == ESimRequestKind::Write))
            blocks.push_back(RequestNotation(r));
    }
    return blocks;
}

// The ASCII lines the device received from request `first` on, in order.
inline std::vector<std::string> AsciiLines(const CSimDevice& sim, std::size_t first = 0) {
    std::vector<std::string> lines;
    for (const SimRequest& r : sim.GetRequests())
        if (r.index >= first && r.kind == ESimRequestKind::Ascii) lines.push_back(r.line);
    return lines;
}

// The Modbus writes the device received, in order.
inline std::vector<SimRequest> ModbusWrites(const CSimDevice& sim) {
    std::vector<SimRequest> writes;
    for (const SimRequest& r : sim.GetRequests())
        if (r.kind == ESimRequestKind::Write) writes.push_back(r);
    return writes;
}

// The values of the last write to `start`; empty when there was none.
inline std::vector<uint16_t> LastWrite(const CSimDevice& sim, uint16_t start) {
    std::vector<uint16_t> values;
    for (const SimRequest& r : sim.GetRequests())
        if (r.kind == ESimRequestKind::Write && r.start == start) values = r.values;
    return values;
}
