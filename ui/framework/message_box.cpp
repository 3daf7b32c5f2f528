#include "ui/framework/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <utility>
#include <vector>

namespace {
// The caption of every message box: the product's name.
const char* const kCaption = "Setrova";

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

bool& ToStandardError() {
    static bool on = false;
    return on;
}

struct Button {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<Button> ButtonsOf(unsigned type) {
    switch (type & 0x0F) {
        case MB_OKCANCEL: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        case MB_ABORTRETRYIGNORE:
            return {{QMessageBox::Abort, IDABORT},
                    {QMessageBox::Retry, IDRETRY},
                    {QMessageBox::Ignore, IDIGNORE}};
        case MB_YESNOCANCEL:
            return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        case MB_YESNO: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        case MB_RETRYCANCEL: return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        default: return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & 0xF0) {
        case MB_ICONERROR: return QMessageBox::Critical;
        case MB_ICONQUESTION: return QMessageBox::Question;
        case MB_ICONWARNING: return QMessageBox::Warning;
        case MB_ICONINFORMATION: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

bool HasCancel(unsigned type) {
    const unsigned buttons = type & 0x0F;
    return buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL || buttons == MB_RETRYCANCEL;
}
}  // namespace

void SetMessageBoxesToStandardError(bool on) { ToStandardError() = on; }
bool AreMessageBoxesToStandardError() { return ToStandardError(); }

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

int AfxMessageBox(const std::string& text, unsigned type) {
    const std::vector<Button> buttons = ButtonsOf(type);
    // The close box answers with the cancel button, or with the last button when there is none.
    const bool hasCancel = HasCancel(type);
    if (ToStandardError()) {
        std::string line = text;
        for (char& c : line) {
            if (c == '\n') c = ' ';
        }
        std::fprintf(stderr, "brimlow: %s\n", line.c_str());
        return hasCancel ? IDCANCEL : buttons.back().result;
    }
    if (Hook()) return Hook()(text, type);
    QMessageBox box(IconOf(type), QString::fromUtf8(kCaption), QString::fromStdString(text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    for (const Button& b : buttons) box.addButton(b.button);
    box.setEscapeButton(hasCancel ? box.button(QMessageBox::Cancel) : box.button(buttons.back().button));
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const Button& b : buttons) {
        if (b.button == pressed) return b.result;
    }
    return hasCancel ? IDCANCEL : buttons.front().result;
}
