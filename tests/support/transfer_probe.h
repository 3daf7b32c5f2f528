#pragma once

#include "model/set/par_type_v.h"
#include "platform/admin_mode.h"

// A DC-input set that lets the tests reach the reply helpers and set what only uploads set.
class CTransferProbe : public CParTypeV {
public:
    using CParTypeV::DeviceScaled;
    using CParTypeV::ReplyTail;
    using CParTypeV::ScanNumbers;
    using CParTypeV::SetStatus;

    int32_t LiveInputValue() const { return m_inputValue; }
    int32_t LiveInputPercent() const { return m_inputPercent; }
    int32_t LiveOutputValue() const { return m_outputValue; }
    int32_t LiveOutputPercent() const { return m_outputPercent; }
    int32_t Date() const { return m_date; }
    void SetDate(int32_t date) { m_date = date; }
    int32_t Steps() const { return GetProgressSteps(); }
};

// Sets the administrator mode for a test and puts it back afterwards.
class AdminModeScope {
public:
    explicit AdminModeScope(bool on) : m_old(IsAdminMode()) { SetAdminMode(on); }
    ~AdminModeScope() { SetAdminMode(m_old); }
    AdminModeScope(const AdminModeScope&) = delete;
    AdminModeScope& operator=(const AdminModeScope&) = delete;

private:
    bool m_old;
};
