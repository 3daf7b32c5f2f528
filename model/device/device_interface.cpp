#include "model/device/device_interface.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "link/modbus_interface.h"
#include "model/hooks/notifier.h"
#include "model/potentiometer/par_type_pm.h"
#include "platform/c_number.h"
#include "platform/exception.h"
#include "platform/timing.h"

namespace {
constexpr unsigned kMessageBoxExclamation = 0x30;
constexpr double kSpanScale = CParTypeV::kFineSpanScale;
constexpr double kOutputZeroScale = CParTypeV::kOutputFineZeroScale;

double Signed(uint16_t reg) { return static_cast<int16_t>(reg); }

// The low 16 bits of a value snapped and truncated toward zero, as the register holds it.
uint16_t ToRegister(double value) {
    return static_cast<uint16_t>(static_cast<uint32_t>(SnapTrunc(value)) & 0xFFFFu);
}

// Mirrors a set's transfer counters into the device interface's own while the transfer runs.
class CProgressAttachment {
public:
    CProgressAttachment(CParBase& set, CTransferProgress& sink) : m_set(set) {
        m_set.SetProgressSink(&sink);
        m_set.ResetProgress();
    }
    ~CProgressAttachment() { m_set.SetProgressSink(nullptr); }
    CProgressAttachment(const CProgressAttachment&) = delete;
    CProgressAttachment& operator=(const CProgressAttachment&) = delete;

private:
    CParBase& m_set;
};
}  // namespace

CDeviceInterface::CDeviceInterface() {
    const CParBase& registered = *m_registry.GetParBase();
    m_par = registered.Clone();
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

CDeviceInterface::~CDeviceInterface() { ::close(m_wakeFd); }

void CDeviceInterface::InterruptPauses() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
}

void CDeviceInterface::Pause(unsigned milliseconds) const { CTiming::Sleep(milliseconds, m_wakeFd); }

CModbusInterface& CDeviceInterface::RequireModbus() const {
    CModbusInterface* modbus = m_modbus.load();
    if (modbus == nullptr)
        throw std::logic_error("device interface used before its Modbus interface was set");
    return *modbus;
}

CDeviceInterface::CSetAccess CDeviceInterface::AccessSet() {
    std::unique_lock<std::recursive_mutex> lock;
    if (CModbusInterface* modbus = m_modbus.load()) lock = std::unique_lock(modbus->GetMutex());
    return CSetAccess(std::move(lock), m_par.get());
}

CAdjustInfo CDeviceInterface::GetAdjustInfo() const {
    std::lock_guard guard(m_recordMutex);
    return m_adjust;
}

CCalibInfo CDeviceInterface::GetCalibInfo() const {
    std::lock_guard guard(m_recordMutex);
    return m_calib;
}

void CDeviceInterface::ReplaceSet(const CParBase& source) { m_par = source.Clone(); }

void CDeviceInterface::SetIdentified(bool identified) {
    if (!identified) DropTeachRequests();
    m_par->SetOnline(identified);
    m_identified.store(identified);
}

void CDeviceInterface::Poll(int32_t tab) {
    m_valid.store(false);
    if (m_reidentify.exchange(false)) m_identified.store(false);
    CModbusInterface* modbus = m_modbus.load();
    if (modbus == nullptr || !modbus->IsConnected()) {
        {
            // The set's flag as well, so that no user of the set takes it for an identified device.
            std::unique_lock<std::recursive_mutex> lock;
            if (modbus != nullptr) lock = std::unique_lock(modbus->GetMutex());
            SetIdentified(false);
        }
        Pause(kPauseNotConnected);
        return;
    }
    std::unique_lock lock(modbus->GetMutex(), std::defer_lock);
    try {
        if (m_identified.load()) {
            PollLive(*modbus, lock, tab);
        } else {
            Identify(*modbus, lock);
        }
    } catch (const std::exception&) {
        if (!lock.owns_lock()) lock.lock();
        m_reopenPort.store(true);
        ResetAfterFailure();
        lock.unlock();
        Pause(kPauseAfterFailure);
        throw;
    }
}

void CDeviceInterface::ResetAfterFailure() {
    SetIdentified(false);
    m_valid.store(false);
    std::lock_guard guard(m_recordMutex);
    m_calib.status = 0;
    m_calib.available = false;
}

void CDeviceInterface::Identify(CModbusInterface& modbus, std::unique_lock<std::recursive_mutex>& lock) {
    // A request made for the device identified before must not reach the one that answers now.
    DropTeachRequests();
    lock.lock();
    // A line that hung up stays dead until opened again, and a replugged adapter may sit behind the
    // same path as a new device node.
    if (m_reopenPort.load()) {
        modbus.Reopen();
        m_reopenPort.store(false);
    }
    const std::string code = ReadModelCode(modbus);
    lock.unlock();

    const CParBase* registered = m_registry.SetModel(code);
    lock.lock();
    if (registered == nullptr) {
        SetIdentified(false);
        std::lock_guard guard(m_recordMutex);
        m_calib.status = 0;
        m_calib.available = false;
        lock.unlock();
        return;
    }
    COutputHold* hold = m_outputHold.load();
    // An output a failed download left held is released before anything else is read, and only when
    // the device that answers is the one it was held on.
    if (hold != nullptr && hold->IsReleasePending())
        hold->Identified(modbus, MakeDeviceIdentity(modbus, code, ReadSerial(modbus)));
    if (registered->GetTypeId() != m_par->GetTypeId()) ReplaceSet(*registered);
    for (int32_t part : {kPartFineAdjust, kPartBasic, kPartIdentity, kPartStatus})
        m_par->UploadModbus(modbus, part);
    if (hold != nullptr)
        hold->Identified(modbus, MakeDeviceIdentity(modbus, code, m_par->GetValueString(CParTypeV::kSerial)));

    const int32_t typeId = m_par->GetTypeId();
    const int32_t channelCount = IsTwoChannelType(typeId) ? 2 : 1;
    {
        std::lock_guard guard(m_recordMutex);
        m_calib.available = typeId == kTypePotentiometer;
        m_adjust.inputAdjustUnavailable = typeId == kTypePotentiometer;
        m_adjust.channelCount = channelCount;
    }
    if (!m_adjust.writePending) ReadBackAdjust(modbus, channelCount);
    SetIdentified(true);
    lock.unlock();
}

void CDeviceInterface::PollLive(CModbusInterface& modbus, std::unique_lock<std::recursive_mutex>& lock,
                                int32_t tab) {
    lock.lock();
    m_par->UploadModbus(modbus, kPartLive);
    if (tab == kTabLoopTest || tab == kTabAll) m_par->UploadModbus(modbus, kPartStatus);
    {
        std::lock_guard guard(m_recordMutex);
        m_calib.status = static_cast<int32_t>(m_par->GetStatus());
    }
    if (m_par->GetTypeId() == kTypePotentiometer) {
        const std::string present = m_par->GetValueString(CParTypePM::kPresentPosition);
        Teach(modbus, m_calib.zeroRequest, CParTypeV::kInput0, present);
        Teach(modbus, m_calib.fullRequest, CParTypeV::kInput100, present);
        std::lock_guard guard(m_recordMutex);
        m_calib.presentValue = present;
        m_calib.zeroValue = m_par->GetValueString(CParTypeV::kInput0);
        m_calib.fullValue = m_par->GetValueString(CParTypeV::kInput100);
    }
    m_valid.store(true);
    lock.unlock();
}

// A refused value is shown to the user and the poll goes on: the unchanged value is written and the
// request cleared all the same.
void CDeviceInterface::Teach(CModbusInterface& modbus, CCopyableAtomic<bool>& request, int32_t code,
                             const std::string& value) {
    if (!request.Load()) return;
    try {
        m_par->SetValueFromString(code, value, true);
    } catch (const CException& refused) {
        NotifyUser(refused.GetMessage(), kMessageBoxExclamation);
    }
    m_par->WriteParamModbus(modbus, code);
    request.Store(false);
}

void CDeviceInterface::ReadBackAdjust(CModbusInterface& modbus, int32_t channelCount) {
    std::array<uint16_t, 4> regs{};
    modbus.ReadHoldingRegister(kRegAdjust, 4, regs.data());
    std::array<uint16_t, 2> regs2{};
    if (channelCount == 2) modbus.ReadHoldingRegister(kRegAdjust2, 2, regs2.data());

    const double scale = m_par->GetInputAdjustScale();
    double low = 0.0;
    double high = 0.0;
    m_par->GetInputAdjustLimits(low, high);
    std::string unit = m_par->GetSensorUnit();

    std::lock_guard guard(m_recordMutex);
    m_adjust.inputZeroLow = low;
    m_adjust.inputZeroHigh = high;
    m_adjust.inputZero[0] = Signed(regs[0]) / scale;
    m_adjust.inputSpan[0] = Signed(regs[1]) / kSpanScale;
    m_adjust.inputUnit = std::move(unit);
    m_adjust.outputZero = Signed(regs[2]) / kOutputZeroScale;
    m_adjust.outputSpan = Signed(regs[3]) / kSpanScale;
    m_adjust.outputUnit = "%";
    if (channelCount == 2) {
        m_adjust.inputZero[1] = Signed(regs2[0]) / scale;
        m_adjust.inputSpan[1] = Signed(regs2[1]) / kSpanScale;
    }
}

void CDeviceInterface::WriteAdjust(CAdjustInfo info) {
    CModbusInterface* modbus = m_modbus.load();
    if (modbus == nullptr || !modbus->IsConnected()) {
        // Nothing is on its way, so the next identification must read the device's values back (the
        // connection that comes may be to another device).
        m_adjust.writePending = false;
        return;
    }
    // The user waits on this write: a poll stuck on a silent device does not hold it up.
    const auto lock = modbus->LockCuttingIn();
    const double scale = m_par->GetInputAdjustScale();
    const std::array<uint16_t, 4> regs = {
        ToRegister(info.inputZero[0] * scale), ToRegister(info.inputSpan[0] * kSpanScale),
        ToRegister(info.outputZero * kOutputZeroScale), ToRegister(info.outputSpan * kSpanScale)};
    modbus->WriteMultipleRegisters(kRegAdjust, 4, regs.data());
    if (info.channelCount == 2) {
        const std::array<uint16_t, 2> regs2 = {ToRegister(info.inputZero[1] * scale),
                                               ToRegister(info.inputSpan[1] * kSpanScale)};
        modbus->WriteMultipleRegisters(kRegAdjust2, 2, regs2.data());
    }
    m_adjust.writePending = false;
    ReadBackAdjust(*modbus, info.channelCount);
}

void CDeviceInterface::Upload() {
    CModbusInterface& modbus = RequireModbus();
    std::unique_lock lock(modbus.GetMutex());
    const std::string code = ReadModelCode(modbus);
    const CParBase* registered = m_registry.SetModel(code);
    if (registered != nullptr && registered->GetTypeId() != m_par->GetTypeId()) ReplaceSet(*registered);
    CProgressAttachment progress(*m_par, m_progress);
    m_par->UploadModbus(modbus, kPartAll);
}

void CDeviceInterface::Download(const CParBase& source) {
    CModbusInterface& modbus = RequireModbus();
    source.CheckValues();
    std::unique_lock lock(modbus.GetMutex());
    ReplaceSet(source);
    CProgressAttachment progress(*m_par, m_progress);
    m_par->DownloadModbus(modbus, kPartAll);
}
