#include "ui/framework/file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include <vector>

#include "ui/framework/message_box.h"

namespace {
CFileDialog::Hook& TheHook() {
    static CFileDialog::Hook hook;
    return hook;
}

std::vector<std::string> SplitBars(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == '|') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

bool HasExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}
}  // namespace

CFileDialog::CFileDialog(bool open, std::string defaultExtension, std::string fileName, unsigned flags,
                         std::string filter)
    : m_request{open, std::move(defaultExtension), std::move(fileName), flags, ToNameFilters(filter)} {}

void CFileDialog::SetHook(Hook hook) { TheHook() = std::move(hook); }

std::string CFileDialog::ToNameFilters(const std::string& filter) {
    const std::vector<std::string> parts = SplitBars(filter);
    std::string result;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) break;
        std::string patterns = parts[i + 1];
        for (char& c : patterns) {
            if (c == ';') c = ' ';
        }
        std::string entry = parts[i];
        // Qt reads the patterns from the trailing parentheses; add them unless the text ends with them.
        const std::string shown = "(" + patterns + ")";
        if (entry.size() < shown.size() ||
            entry.compare(entry.size() - shown.size(), shown.size(), shown) != 0) {
            entry += " " + shown;
        }
        if (!result.empty()) result += ";;";
        result += entry;
    }
    return result;
}

int CFileDialog::DoModal() {
    std::optional<std::string> chosen;
    if (TheHook()) {
        chosen = TheHook()(m_request);
    } else {
        QFileDialog dialog(QApplication::activeWindow());
        dialog.setAcceptMode(m_request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(m_request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (!m_request.nameFilters.empty()) {
            dialog.setNameFilters(QString::fromStdString(m_request.nameFilters).split(QStringLiteral(";;")));
        }
        if (!m_request.defaultExtension.empty())
            dialog.setDefaultSuffix(QString::fromStdString(m_request.defaultExtension));
        if (!m_request.fileName.empty()) dialog.selectFile(QString::fromStdString(m_request.fileName));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(m_request.flags & OFN_OVERWRITEPROMPT));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().front().toStdString();
        }
    }
    if (!chosen || chosen->empty()) return IDCANCEL;
    m_path = *chosen;
    if (!m_request.defaultExtension.empty() && !HasExtension(m_path))
        m_path += "." + m_request.defaultExtension;
    return IDOK;
}
