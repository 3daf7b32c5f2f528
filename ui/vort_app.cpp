#include "ui/vort_app.h"

#include <QApplication>
#include <QStyleFactory>

#include <clocale>

#include "platform/profile.h"
#include "ui/framework/dialog_font.h"
#include "ui/framework/message_box.h"
#include "ui/language.h"
#include "ui/static_buffer.h"
#include "ui/vort_dlg.h"

namespace {
ParameterSetFactory& Factory() {
    static ParameterSetFactory factory;
    return factory;
}
}  // namespace

void CVORTApp::SetParameterSetFactory(ParameterSetFactory factory) { Factory() = std::move(factory); }

void CVORTApp::InitLanguage() {
    int n = GetProfileInt("Lang", "Number", -1);
    if (n != 0 && n != 1) n = -1;
    SetLanguage(n);
}

int CVORTApp::StoredDeviceTypeId() { return GetProfileInt("Settings", "DeviceId", 2); }

std::unique_ptr<CParBase> CVORTApp::CreateFileSideSet(const ParameterSetFactory& factory) {
    if (!factory) return nullptr;
    const int id = StoredDeviceTypeId();
    std::unique_ptr<CParBase> set = factory(id);
    if (!set && id != 2) set = factory(2);
    return set;
}

void CVORTApp::RunDialogLoop() {
    CVORTDlg dialog;
    while (dialog.DoModal() == IDOK) {
    }
}

int CVORTApp::Run(int argc, char** argv) {
    QApplication application(argc, argv);
    // Every number text is C-locale, whatever the desktop's locale is.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(DialogFont());
    QApplication::setApplicationName(QStringLiteral("brimlow"));
    QApplication::setApplicationDisplayName(QStringLiteral("Setrova"));

    InitLanguage();
    StaticBuffer().PutParameterSet(CreateFileSideSet(Factory()));
    RunDialogLoop();

    // The held set and the language module go before the QApplication does, never at static destruction.
    StaticBuffer().Clear();
    ReleaseLanguageModule();
    return 0;
}
