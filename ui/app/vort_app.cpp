#include "ui/app/vort_app.h"

#include <QApplication>

#include <clocale>
#include <csignal>

#include "platform/profile.h"
#include "ui/framework/application_style.h"
#include "ui/framework/message_box.h"
#include "ui/common/language.h"
#include "ui/common/profile_store.h"
#include "ui/common/static_buffer.h"
#include "ui/app/signal_watcher.h"
#include "ui/hooks/ui_notifier.h"
#include "ui/hooks/ui_table_dialog_service.h"
#include "ui/main/vort_dlg.h"

namespace {
// A new set of the registry's class for the type id, with the registry's settings.
std::unique_ptr<CParBase> CopyOfPrototype(CDeviceType& registry, int typeId) {
    const CParBase* prototype = registry.SetTypeId(typeId);
    return prototype ? prototype->Clone() : nullptr;
}
}  // namespace

void CVORTApp::PrepareProcess() {
    std::signal(SIGXFSZ, SIG_IGN);
    // Before QApplication starts threads of its own: the watcher alone takes them.
    CSignalWatcher::BlockTerminationSignals();
}

void CVORTApp::InitLanguage() {
    int n = GetProfileInt("Lang", "Number", -1);
    if (n != 0 && n != 1) n = -1;
    SetLanguage(n);
}

int CVORTApp::StoredDeviceTypeId() { return GetProfileInt("Settings", "DeviceId", 2); }

std::unique_ptr<CParBase> CVORTApp::CreateFileSideSet(CDeviceType& registry) {
    const int id = StoredDeviceTypeId();
    std::unique_ptr<CParBase> set = CopyOfPrototype(registry, id);
    if (!set && id != CDeviceType::kDefaultTypeId)
        set = CopyOfPrototype(registry, CDeviceType::kDefaultTypeId);
    return set;
}

void CVORTApp::RunDialogLoop() {
    CVORTDlg dialog;
    // The model's messages are shown over the main dialog; its worker threads end with its window,
    // before the notifier goes.
    const CUiNotifier notifier(dialog.Poster());
    // The parameter sets open their table viewers through it, over the main dialog.
    const CUiTableDialogService tables;
    // A termination signal closes the dialog as the user's close would, without asking; a dialog that
    // ended meanwhile to be rebuilt (the language switch) is not shown again.
    const CSignalWatcher watcher([&dialog] { dialog.CloseOnSignal(); });
    while (dialog.DoModal() == IDOK && !watcher.HasFired()) {
    }
}

int CVORTApp::Run(int argc, char** argv) {
    PrepareProcess();
    QApplication application(argc, argv);
    // Every number text is C-locale, whatever the desktop's locale is.
    std::setlocale(LC_NUMERIC, "C");
    ApplyApplicationStyle();
    QApplication::setApplicationName(QStringLiteral("brimlow"));

    InitLanguage();
    ReportUnreadableProfile();
    {
        CDeviceType registry;
        StaticBuffer().PutParameterSet(CreateFileSideSet(registry));
    }
    RunDialogLoop();

    // The held set and the language module go before the QApplication does, never at static destruction.
    StaticBuffer().Clear();
    ReleaseLanguageModule();
    return 0;
}
