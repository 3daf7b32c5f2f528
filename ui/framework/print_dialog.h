#pragma once

#include <QPrinter>

#include <functional>
#include <memory>

// The print dialog: chooses a printer and hands it over for drawing.
class CPrintDialog {
public:
    CPrintDialog();
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
};
