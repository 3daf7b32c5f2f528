#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// How the device lets the master at a register.
enum class ESimAccess : uint8_t { None, ReadOnly, ReadWrite };

// A block of registers with one kind of access.
struct SimRange {
    int start = 0;
    int count = 0;
    ESimAccess access = ESimAccess::ReadWrite;
};

class CSimModel;

// What distinguishes one device model from another in the simulator: its code, the model text it
// reports, the register blocks it maps beyond the common ones and the settings it leaves the factory
// with beyond the shared ones (none when null).
struct SimModelInfo {
    std::string code;
    std::string modelText;
    std::vector<SimRange> ranges;
    void (*factory)(CSimModel& model) = nullptr;
};

// Modbus exception codes the device answers with.
enum ESimException : uint8_t {
    kSimNoException = 0,
    kSimIllegalFunction = 1,
    kSimIllegalAddress = 2,
    kSimIllegalValue = 3,
};

// One simulated device model: the 4096 holding registers with their access and the ASCII items.
// The base class is the behaviour every model shares; a model that reacts to what is written derives
// from it and overrides the hooks. The device calls every member under its own lock.
class CSimModel {
public:
    static constexpr int kRegisterCount = 4096;
    // First register of the model code, one character in each of four low bytes.
    static constexpr int kModelCodeRegister = 2074;

    explicit CSimModel(const SimModelInfo& info);
    virtual ~CSimModel() = default;

    // The model for a code the simulator knows ("K9TS", "K9RS", "K9PM", "K9U0".."K9U5"); nullptr for
    // any other code.
    static std::unique_ptr<CSimModel> Create(const std::string& code);
    // The codes Create knows, in catalogue order.
    static std::vector<std::string> KnownCodes();
    // The catalogue entry of a code, nullptr when unknown; a model that derives from this class
    // starts from it.
    static const SimModelInfo* FindInfo(const std::string& code);

    // The code as the device reports it now (registers 2074 to 2077).
    std::string GetModelCode() const;
    void SetModelCode(const std::string& code);

    // Register map. The plain accessors ignore the access rights (they are the device's own view);
    // addresses outside the map are ignored or read as 0.
    void MapRegisters(int start, int count, ESimAccess access);
    ESimAccess GetAccess(int address) const;
    uint16_t GetRegister(int address) const;
    void SetRegister(int address, uint16_t value);
    void SetText(int start, int count, const std::string& text);

    // Modbus requests: check the access of the whole block, then read or write it. The result is an
    // exception code, kSimNoException on success; nothing changes when a request is refused.
    virtual uint8_t ReadRegisters(int start, int count, std::vector<uint16_t>& values);
    virtual uint8_t WriteRegisters(int start, const std::vector<uint16_t>& values);

    // ASCII items, one text per (group, item).
    void SetItem(int group, int item, std::string value);
    std::string GetItem(int group, int item) const;
    // Answers the D-command with `data` (empty: read) for the selected item; returns the reply line
    // without its carriage return. The default reads or stores the item's text and echoes it after 'D'.
    virtual std::string AnswerItem(int group, int item, const std::string& data);

protected:
    // Called after a write request changed registers [start, start + count).
    virtual void OnRegistersWritten(int start, int count);

private:
    bool BlockHas(int start, int count, ESimAccess least) const;

    std::array<uint16_t, kRegisterCount> m_registers{};
    std::array<ESimAccess, kRegisterCount> m_access{};
    std::map<std::pair<int, int>, std::string> m_items;
};
