#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

enum class ESimRequestKind : uint8_t {
    Read,           // function 3
    Write,          // function 16
    OtherFunction,  // a Modbus frame with any other function code
    Ascii,          // a line of the G/I/D protocol
    Fragment,       // bytes that never became a whole frame or line before the gap
};

// One request as the device received it.
struct SimRequest {
    size_t index = 0;  // 0 for the first request the device received
    ESimRequestKind kind = ESimRequestKind::Fragment;
    std::vector<uint8_t> raw;  // the bytes as received, CRC or carriage return included
    bool crcOk = false;        // Modbus only
    uint8_t address = 0;
    uint8_t function = 0;
    uint16_t start = 0;
    uint16_t count = 0;
    std::vector<uint16_t> values;  // the values of a write
    std::string line;              // an ASCII line without its carriage return
    std::chrono::steady_clock::time_point received;
};

enum class ESimFault : uint8_t {
    Silence,     // no reply; the request is not carried out
    BadCrc,      // the reply's CRC is wrong (ASCII: no effect)
    ShortFrame,  // the reply loses its last `trim` bytes (ASCII: the carriage return goes first)
    Exception,   // Modbus exception reply with `exceptionCode`, request not carried out (ASCII: "E")
    Late,        // the reply leaves `delay` after the request; the device keeps serving meanwhile
    Garbage,     // `bytes` go out just before the reply
    Replace,     // `bytes` go out instead of the reply; the request is carried out
    Precede,     // `bytes` go out at once and the reply `delay` later, as a frame of another device would
    HangUp,      // the device closes its side of the line `delay` after the request instead of replying
    Chatter,     // `bytes` go out one at a time, `delay` apart, instead of the reply
};

struct SimFault {
    ESimFault kind = ESimFault::Silence;
    uint8_t exceptionCode = 2;
    size_t trim = 1;
    std::chrono::milliseconds delay{0};
    std::vector<uint8_t> bytes;

    static SimFault Make(ESimFault kind) {
        SimFault fault;
        fault.kind = kind;
        return fault;
    }
    static SimFault Silence() { return Make(ESimFault::Silence); }
    static SimFault BadCrc() { return Make(ESimFault::BadCrc); }
    static SimFault ShortFrame(size_t trim = 1) {
        SimFault fault = Make(ESimFault::ShortFrame);
        fault.trim = trim;
        return fault;
    }
    static SimFault Exception(uint8_t code) {
        SimFault fault = Make(ESimFault::Exception);
        fault.exceptionCode = code;
        return fault;
    }
    static SimFault Late(std::chrono::milliseconds delay) {
        SimFault fault = Make(ESimFault::Late);
        fault.delay = delay;
        return fault;
    }
    static SimFault Garbage(std::vector<uint8_t> bytes) {
        SimFault fault = Make(ESimFault::Garbage);
        fault.bytes = std::move(bytes);
        return fault;
    }
    static SimFault Replace(std::vector<uint8_t> bytes) {
        SimFault fault = Make(ESimFault::Replace);
        fault.bytes = std::move(bytes);
        return fault;
    }
    static SimFault Precede(std::vector<uint8_t> bytes, std::chrono::milliseconds delay) {
        SimFault fault = Make(ESimFault::Precede);
        fault.bytes = std::move(bytes);
        fault.delay = delay;
        return fault;
    }
    static SimFault HangUp(std::chrono::milliseconds delay = {}) {
        SimFault fault = Make(ESimFault::HangUp);
        fault.delay = delay;
        return fault;
    }
    static SimFault Chatter(std::vector<uint8_t> bytes, std::chrono::milliseconds interval) {
        SimFault fault = Make(ESimFault::Chatter);
        fault.bytes = std::move(bytes);
        fault.delay = interval;
        return fault;
    }
};
