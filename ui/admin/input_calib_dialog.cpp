#include "ui/admin/input_calib_dialog.h"

#include <QComboBox>

#include <exception>

#include "link/comm_interface.h"
#include "link/private_exception.h"
#include "platform/c_number.h"
#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/admin/calib_reply.h"
#include "ui/admin/chosen_list.h"
#include "ui/framework/message_box.h"

namespace {
constexpr int kInputItem = 5;
constexpr int kGainItem = 10;
constexpr int kGains[] = {1, 2, 4, 8, 16, 32};
constexpr unsigned kInputTypeCount = 3;
}  // namespace

CInputCalibDialog::CInputCalibDialog(int typeId, CCommInterface& ascii, CModbusInterface* modbus)
    : CDialog(137), m_typeId(typeId), m_ascii(ascii), m_modbus(modbus), m_mode(ascii) {
    MapSelChange(kInputType, [this] { OnCbnSelchangeInputType(); });
    MapClicked(kSet0, [this] { OnBnClickedSetPoint('L', kMeasured0, kCount0); });
    MapClicked(kSet100, [this] { OnBnClickedSetPoint('H', kMeasured100, kCount100); });
    MapClicked(kSetRefVoltage, [this] { OnBnClickedSetReference('V', kRefVoltage); });
    MapClicked(kSetRefResistance, [this] { OnBnClickedSetReference('R', kRefResistance); });
}

std::string CInputCalibDialog::Send(const std::string& command) {
    std::string reply;
    m_ascii.SendCommand(command, reply, CCommInterface::kCommandTimeout);
    return reply;
}

bool CInputCalibDialog::OnInitDialog() {
    m_lend.emplace(m_ascii, m_modbus);
    auto* list = GetDlgItemAs<QComboBox>(kInputType);
    list->addItem(QString::fromStdString(LoadString(kStrSelectType)));
    if (IsGainModel()) {
        for (int gain : kGains) list->addItem(QString::fromStdString(FormatC("ゲイン%d倍", gain)));
        for (int id : {kRefVoltage, kRefResistance, kSetRefVoltage, kSetRefResistance})
            EnableDlgItem(id, true);
    } else {
        for (unsigned i = 0; i < kInputTypeCount; ++i) {
            list->addItem(QString::fromStdString(LoadString(kStrDcInputChoices + i)));
        }
    }
    SetCurSel(kInputType, 0);
    TakeWheelOnlyWhenOpen(list);
    if (IsGainModel()) {
        SelectInputItem();
        if (const auto voltage = ParseValueReply(Send("DV\r")))
            SetDlgItemText(kRefVoltage, FormatC("%.4lf", *voltage));
        if (const auto ohm = ParseValueReply(Send("DR\r")))
            SetDlgItemText(kRefResistance, FormatC("%.4lf", *ohm));
    }
    return true;
}

void CInputCalibDialog::ShowPoint(const std::string& reply, int measured, int count) {
    const std::optional<CalibPoint> point = ParsePointReply(reply);
    if (!point) return;
    SetDlgItemText(count, FormatC("%d", point->count));
    SetDlgItemText(measured, FormatC("%.4lf", point->value));
}

void CInputCalibDialog::OnCbnSelchangeInputType() {
    const int sel = GetCurSel(kInputType);
    if (sel < 1) {
        EnableSetButtons(false);
        return;
    }
    RunEndingAdjustment([&] {
        if (IsGainModel()) {
            SetGain(sel);
        } else {
            SelectInputItem();
        }
        ShowPoint(Send("DLR\r"), kMeasured0, kCount0);
        ShowPoint(Send("DHR\r"), kMeasured100, kCount100);
    });
    EnableSetButtons(true);
}

void CInputCalibDialog::EnableSetButtons(bool enable) {
    EnableDlgItem(kSet0, enable);
    EnableDlgItem(kSet100, enable);
}

void CInputCalibDialog::SetGain(int sel) {
    const int before = m_gainInForce;
    m_atInputItem = false;
    m_mode.Enter();
    m_ascii.SelectItem(kGainItem);
    // Once the write has left, the device's gain may differ from the one its calibration is set to,
    // unless the device answers that it refused the write: the reply is read here, as a refusal and
    // no reply at all leave different gains in force.
    m_gainInForce = 0;
    const std::string write = FormatC("D%d", sel - 1);
    std::string reply;
    m_ascii.SendCommand(write + "\r", reply, CCommInterface::kCommandTimeout);
    if (reply.empty() || reply[0] != 'D') {
        m_gainInForce = before;
        throw CPrivateException(FormatMessageId(kStrCommandRefused, {write}));
    }
    m_mode.Leave(false);
    SelectInputItem();
    m_ascii.SendAccepted(FormatC("DG%d\r", sel - 1), CCommInterface::kCommandTimeout);
    m_gainInForce = sel;
}

void CInputCalibDialog::ShowGainInForce(int before) {
    SetCurSel(kInputType, m_gainInForce);
    // The points shown are those of the gain that was in force.
    if (m_gainInForce != before) {
        for (int id : {kMeasured0, kCount0, kMeasured100, kCount100}) SetDlgItemText(id, "");
    }
    EnableSetButtons(m_gainInForce >= 1);
}

void CInputCalibDialog::RunEndingAdjustment(const std::function<void()>& sequence) {
    const int before = m_gainInForce;
    try {
        sequence();
    } catch (const std::exception& failure) {
        // Ending the mode leaves group 1 selected.
        if (m_mode.MayBeOn()) m_atInputItem = false;
        const std::string text = m_mode.EndAfterFailure(failure.what());
        if (IsGainModel()) ShowGainInForce(before);
        throw CPrivateException(text);
    }
}

void CInputCalibDialog::SelectInputItem() {
    m_atInputItem = false;
    m_ascii.SelectGroup(CCommInterface::kGroupFactory);
    m_ascii.SelectItem(kInputItem);
    m_atInputItem = true;
}

void CInputCalibDialog::OnBnClickedSetPoint(char letter, int measured, int count) {
    const std::string text = GetDlgItemText(measured);
    if (!IsSendableText(text)) return;
    SelectInputItem();
    // The point is shown only once the device has stored it.
    ShowPoint(m_ascii.SendAccepted(std::string("D") + letter + text + "\r", CCommInterface::kCommandTimeout),
              measured, count);
}

void CInputCalibDialog::OnBnClickedSetReference(char letter, int edit) {
    const std::string text = GetDlgItemText(edit);
    if (!IsSendableText(text)) return;
    SelectInputItem();
    const std::string command = std::string("D") + letter + text + "\r";
    if (const auto value = ParseValueReply(m_ascii.SendAccepted(command, CCommInterface::kCommandTimeout))) {
        SetDlgItemText(edit, FormatC("%.4lf", *value));
    }
}

void CInputCalibDialog::OnCancel() {
    // A selection that failed on the way and could not end the adjustment mode then gets another try.
    if (m_mode.MayBeOn()) {
        m_atInputItem = false;
        if (const std::optional<std::string> failure = m_mode.LeaveFailure()) {
            AfxMessageBox(CAdjustmentMode::NotEnded(*failure), MB_ICONWARNING);
            EndDialog(IDCANCEL);
            return;
        }
    }
    if (IsGainModel()) {
        // Ends the gain setting, at the item it belongs to; the dialog closes whatever the device answers.
        try {
            if (!m_atInputItem) SelectInputItem();
            Send("DG\r");
        } catch (const std::exception&) {
        }
    }
    EndDialog(IDCANCEL);
}

void CInputCalibDialog::OnDestroy() { m_lend.reset(); }
