#include "ui/hooks/ui_notifier.h"

#include <utility>

#include "ui/framework/message_box.h"

CUiNotifier::CUiNotifier(CUiCallPoster poster) : m_poster(std::move(poster)) { InstallNotifier(this); }

CUiNotifier::~CUiNotifier() { InstallNotifier(nullptr); }

void CUiNotifier::ShowMessage(const std::string& text, unsigned style) {
    m_poster.Post([text, style] { AfxMessageBox(text, style); });
}
