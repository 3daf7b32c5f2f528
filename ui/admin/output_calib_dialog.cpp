#include "ui/admin/output_calib_dialog.h"

#include <QComboBox>

#include <exception>
#include <utility>

#include "link/comm_interface.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/admin/calib_reply.h"
#include "ui/admin/chosen_list.h"
#include "ui/framework/message_box.h"
#include "ui/framework/up_down_ctrl.h"

namespace {
constexpr int kOutputItem = 4;
constexpr int kOutputTypeItem = 11;
constexpr unsigned kOutputTypeCount = 3;
}  // namespace

COutputCalibDialog::COutputCalibDialog(CCommInterface& ascii, CModbusInterface* modbus, int tickMs)
    : CDialog(138), m_ascii(ascii), m_modbus(modbus), m_tickMs(tickMs), m_mode(ascii) {
    MapSelChange(kOutputType, [this] { RunReported([this] { SelectOutputType(); }); });
    for (const Point& point : kPoints) {
        MapClicked(point.start, [this, &point] { RunReported([this, &point] { Start(point); }); });
        MapClicked(point.set, [this, &point] { RunReported([this, &point] { Set(point); }); });
    }
}

std::string COutputCalibDialog::Send(const std::string& command) {
    std::string reply;
    m_ascii.SendCommand(command, reply, CCommInterface::kCommandTimeout);
    return reply;
}

bool COutputCalibDialog::OnInitDialog() {
    m_lend.emplace(m_ascii, m_modbus);
    auto* list = GetDlgItemAs<QComboBox>(kOutputType);
    list->addItem(QString::fromStdString(LoadString(kStrSelectType)));
    for (unsigned i = 0; i < kOutputTypeCount; ++i) {
        list->addItem(QString::fromStdString(LoadString(kStrOutputTypeChoices + i)));
    }
    SetCurSel(kOutputType, 0);
    TakeWheelOnlyWhenOpen(list);
    for (const Point& point : kPoints) {
        if (auto* spin = GetDlgItemAs<CUpDownCtrl>(point.spin)) spin->SetRange(kDaLow, kDaHigh);
    }
    SetTimer(kTimerId, m_tickMs);
    return true;
}

void COutputCalibDialog::ResetControls() {
    for (const Point& point : kPoints) {
        EnableDlgItem(point.start, false);
        EnableDlgItem(point.set, false);
    }
    SetCurSel(kOutputType, 0);
}

void COutputCalibDialog::RunReported(const std::function<void()>& sequence) {
    if (m_reporting) return;
    try {
        sequence();
    } catch (const std::exception& failure) {
        ResetControls();
        const std::string text = m_mode.EndAfterFailure(LoadString(kStrCommunicationError) + "\n" +
                                                        failure.what());
        ShowDeviceState();
        Report(text, MB_ICONERROR);
        return;
    }
    ShowDeviceState();
}

void COutputCalibDialog::Report(const std::string& text, unsigned type) {
    const bool outer = std::exchange(m_reporting, true);
    AfxMessageBox(text, type);
    m_reporting = outer;
}

void COutputCalibDialog::ShowDeviceState() {
    bool adjusting = false;
    for (const Point& point : kPoints) adjusting = adjusting || IsDlgItemEnabled(point.set);
    SetDlgItemText(kDeviceState,
                   m_mode.MayBeOn() && !adjusting ? LoadString(kStrAdjustmentStateUnknown) : "");
}

void COutputCalibDialog::SelectOutputItem() {
    m_ascii.SelectGroup(CCommInterface::kGroupFactory);
    m_ascii.SelectItem(kOutputItem);
}

void COutputCalibDialog::ShowPoint(const std::string& reply, const Point& point) {
    const std::optional<CalibPoint> parsed = ParsePointReply(reply);
    if (!parsed) return;
    SetDlgItemText(point.value, FormatC("%d", parsed->count));
    SetDlgItemText(point.measured, FormatC("%.4lf", parsed->value));
}

void COutputCalibDialog::SelectOutputType() {
    const int sel = GetCurSel(kOutputType);
    if (sel >= 1) {
        m_mode.Enter();
        m_mode.WriteSetting(kOutputTypeItem, FormatC("%d", sel - 1));
        m_mode.Leave(false);
        SelectOutputItem();
        for (const Point& point : kPoints) ShowPoint(Send(std::string("D") + point.letter + "R\r"), point);
    }
    for (const Point& point : kPoints) {
        EnableDlgItem(point.start, sel >= 1);
        EnableDlgItem(point.set, false);
    }
}

void COutputCalibDialog::Start(const Point& point) {
    m_mode.Enter();
    SelectOutputItem();
    for (const Point& each : kPoints) EnableDlgItem(each.set, &each == &point);
}

void COutputCalibDialog::Set(const Point& point) {
    const std::string text = GetDlgItemText(point.measured);
    // A line break typed or pasted into the value would send commands of its own.
    if (!IsSendableText(text)) return;
    SelectOutputItem();
    // The point is shown only once the device has stored it.
    const std::string command = std::string("D") + point.letter + text + "\r";
    ShowPoint(m_ascii.SendAccepted(command, CCommInterface::kCommandTimeout), point);
    m_mode.Leave();
    EnableDlgItem(point.set, false);
}

void COutputCalibDialog::Drive() {
    for (const Point& point : kPoints) {
        if (!IsDlgItemEnabled(point.set)) continue;
        const std::string value = GetDlgItemText(point.value);
        if (IsSendableText(value)) Send("DX" + value + "\r");
        return;
    }
}

void COutputCalibDialog::OnTimer(int id) {
    if (id == kTimerId) RunReported([this] { Drive(); });
}

void COutputCalibDialog::OnCancel() {
    // Ends any adjustment. The dialog closes whatever the device answers, but not in silence when the
    // device may be left adjusting: at a signal's close the box goes to standard error. The output is
    // no longer driven once the adjustment is being left.
    ResetControls();
    if (const std::optional<std::string> failure = m_mode.LeaveFailure()) {
        Report(CAdjustmentMode::NotEnded(*failure), MB_ICONWARNING);
    }
    EndDialog(IDCANCEL);
}

void COutputCalibDialog::OnDestroy() { m_lend.reset(); }
