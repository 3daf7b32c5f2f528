#include "ui/main/device_leave.h"

#include <exception>
#include <string>

#include "link/modbus_interface.h"
#include "model/device/output_hold.h"
#include "platform/resource_module.h"
#include "platform/signal_notice.h"
#include "res/string_ids.h"
#include "ui/framework/message_box.h"
#include "ui/framework/wait_cursor.h"

namespace {
// The question of each user's way out, by what holds the output: the loop test (or the device
// itself), or the download that failed.
constexpr unsigned kQuestions[][2] = {
    {kStrLoopTestHoldsOutput, kStrDownloadHoldsOutput},
    {kStrLoopTestHoldsOutputDisconnect, kStrDownloadHoldsOutputDisconnect},
    {kStrLoopTestHoldsOutputPort, kStrDownloadHoldsOutputPort},
};
}  // namespace

CDeviceLeave::~CDeviceLeave() { RaiseSignalNotice(ESignalNotice::kTransferCut, false); }

void CDeviceLeave::PrepareSignalNotices() {
    SetSignalNoticeText(ESignalNotice::kOutputHeld, LoadString(kStrHoldNotReleased));
    SetSignalNoticeText(ESignalNotice::kTransferCut, LoadString(kStrDownloadCut));
}

void CDeviceLeave::Signalled() { SetMessageBoxesToStandardError(true); }

void CDeviceLeave::DownloadRunning(bool running) {
    m_downloading = running;
    RaiseSignalNotice(ESignalNotice::kTransferCut, running);
}

CDeviceLeave::EStep CDeviceLeave::Leave(EWay way, bool shownHeld) {
    if (m_downloading) return EStep::kWaitForDownload;
    if (way == EWay::kSignal) {
        if (m_hold.IsHeld()) Release();
        return EStep::kLeave;
    }
    if (!m_hold.IsHeld() && !shownHeld) return EStep::kLeave;
    const unsigned question = kQuestions[static_cast<int>(way)][m_hold.IsReleasePending() ? 1 : 0];
    const int answer = AfxMessageBox(LoadString(question), MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return EStep::kStay;
    if (answer == IDNO) {
        // Left held as the user chose: the hold is the user's now, never released without asking.
        m_hold.Forget();
        return EStep::kLeave;
    }
    return Release() ? EStep::kLeave : EStep::kStay;
}

bool CDeviceLeave::Release() {
    const CWaitCursor wait;
    try {
        if (m_hold.Release(m_modbus) == COutputHold::ERelease::kOtherDevice)
            AfxMessageBox(LoadString(kStrOtherDeviceMayHold), MB_ICONWARNING);
        return true;
    } catch (const std::exception& failure) {
        // The window stays (or the connection), so that the user can try again.
        AfxMessageBox(LoadString(kStrHoldNotReleased) + "\n" + failure.what(), MB_ICONERROR);
        return false;
    }
}
