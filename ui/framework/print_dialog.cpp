#include "ui/framework/print_dialog.h"

#include <QApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrinterInfo>

#include "ui/framework/message_box.h"

namespace {
CPrintDialog::Hook& TheHook() {
    static CPrintDialog::Hook hook;
    return hook;
}
}  // namespace

CPrintDialog::CPrintDialog(const QString& documentName)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_documentName(documentName) {
    m_printer->setDocName(documentName);
}

CPrintDialog::~CPrintDialog() = default;

void CPrintDialog::SetHook(Hook hook) { TheHook() = std::move(hook); }

int CPrintDialog::DoModal() {
    if (TheHook()) return TheHook()(*m_printer) ? IDOK : IDCANCEL;
    // Without a printer the dialog would have nothing to offer: the PDF file is then the destination.
    const bool toFile = QPrinterInfo::availablePrinters().isEmpty();
    if (toFile) m_printer->setOutputFileName(QDir::home().filePath(m_documentName + QStringLiteral(".pdf")));
    QPrintDialog dialog(m_printer.get(), QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, toFile);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
