#pragma once

#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>

// The print dialog: chooses a printer and hands it over for drawing. Where the system has no printer, it
// offers a PDF file instead, named after the document in the home folder.
class CPrintDialog {
public:
    explicit CPrintDialog(const QString& documentName);
    ~CPrintDialog();

    // IDOK when the user chose to print; the printer is then set up.
    int DoModal();
    QPrinter& GetPrinter() { return *m_printer; }

    // What tests see instead of a dialog: they set the printer up (a PDF file, say) and return
    // whether to print.
    using Hook = std::function<bool(QPrinter& printer)>;
    static void SetHook(Hook hook);

private:
    std::unique_ptr<QPrinter> m_printer;
    QString m_documentName;
};
