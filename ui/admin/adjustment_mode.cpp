#include "ui/admin/adjustment_mode.h"

#include <exception>

#include "link/comm_interface.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

void CAdjustmentMode::Enter() {
    m_ascii.SelectGroup(CCommInterface::kGroupSettings);
    m_ascii.SelectItem(CCommInterface::kItemOperatingMode);
    m_mayBeOn = true;
    m_ascii.SendAccepted("D1\r", CCommInterface::kCommandTimeout);
}

void CAdjustmentMode::WriteSetting(int item, const std::string& value) {
    m_ascii.SelectItem(item);
    m_ascii.SendAccepted("D" + value + "\r", CCommInterface::kCommandTimeout);
}

void CAdjustmentMode::Leave(bool selectGroup) {
    if (selectGroup) m_ascii.SelectGroup(CCommInterface::kGroupSettings);
    m_ascii.SelectItem(CCommInterface::kItemOperatingMode);
    m_ascii.SendAccepted("D0\r", CCommInterface::kCommandTimeout);
    m_mayBeOn = false;
}

std::optional<std::string> CAdjustmentMode::LeaveFailure() {
    try {
        Leave();
        return std::nullopt;
    } catch (const std::exception& failure) {
        return failure.what();
    }
}

std::string CAdjustmentMode::EndAfterFailure(const std::string& failure) {
    if (!m_mayBeOn || !LeaveFailure()) return failure;
    return NotEnded(failure);
}

std::string CAdjustmentMode::NotEnded(const std::string& reason) {
    return reason + "\n" + LoadString(kStrAdjustmentNotEnded);
}
