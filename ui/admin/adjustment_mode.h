#pragma once

#include <optional>
#include <string>

class CCommInterface;

// The device's adjustment mode (item 1 of group 1 at "1"), in which its output follows the calibration
// rather than the input. The writes here must be accepted, not merely answered. It remembers whether the
// device may still be adjusting, so that a sequence that fails on the way ends the mode, and a failure
// to end it is told to the user instead of passing in silence.
class CAdjustmentMode {
public:
    explicit CAdjustmentMode(CCommInterface& ascii) : m_ascii(ascii) {}

    // Selects group 1 and turns the mode on; the device may be adjusting from the moment the write leaves.
    void Enter();
    // Writes `value` to `item` of the group selected.
    void WriteSetting(int item, const std::string& value);
    // Turns the mode off, selecting group 1 first unless the caller has it selected.
    void Leave(bool selectGroup = true);
    // Leave, with the reason it failed instead of an exception.
    std::optional<std::string> LeaveFailure();
    // After a sequence failed with `failure`: leaves the mode when the device may be in it. The text to
    // report is the failure's, with the warning when the mode could not be ended.
    std::string EndAfterFailure(const std::string& failure);
    bool MayBeOn() const { return m_mayBeOn; }

    // `reason` followed by the warning that the device may still be in adjustment mode.
    static std::string NotEnded(const std::string& reason);

private:
    CCommInterface& m_ascii;
    bool m_mayBeOn = false;
};
