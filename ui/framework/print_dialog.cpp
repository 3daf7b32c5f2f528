#include "ui/framework/print_dialog.h"

#include <QApplication>
#include <QPrintDialog>

#include "ui/framework/message_box.h"

namespace {
CPrintDialog::Hook& TheHook() {
    static CPrintDialog::Hook hook;
    return hook;
}
}  // namespace

CPrintDialog::CPrintDialog() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

CPrintDialog::~CPrintDialog() = default;

void CPrintDialog::SetHook(Hook hook) { TheHook() = std::move(hook); }

int CPrintDialog::DoModal() {
    if (TheHook()) return TheHook()(*m_printer) ? IDOK : IDCANCEL;
    QPrintDialog dialog(m_printer.get(), QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
