#include "ui/framework/dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QString>
#include <QTimer>

#include "platform/exception.h"
#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "ui/framework/control_factory.h"
#include "ui/framework/dialog_font.h"
#include "ui/framework/dialog_window.h"
#include "ui/framework/handler_guard.h"
#include "ui/framework/tab_ctrl.h"
#include "ui/framework/trackbar.h"
#include "ui/framework/up_down_ctrl.h"

CDialog::CDialog(unsigned templateId) : m_templateId(templateId) {}

CDialog::~CDialog() { DestroyWindow(); }

void CDialog::Build(QWidget* parent, bool child) {
    DestroyWindow();
    const DialogTemplate* dialog = CurrentResourceModule().FindDialog(m_templateId);
    if (!dialog) throw CException(FormatMessageText("Dialog template %1!u! is missing.", {m_templateId}));
    QWidget* window = nullptr;
    if (child) {
        window = new CPageWindow(this, parent);
    } else {
        auto* popup = new CDialogWindow(this, parent);
        popup->setModal(true);
        window = popup;
    }
    window->setFont(DialogFont());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    const QRect size = DialogUnitsToPixels(0, 0, dialog->cx, dialog->cy);
    window->setFixedSize(size.size());
    window->setWindowTitle(QString::fromUtf8(dialog->caption));
    window->setObjectName(QStringLiteral("dialog %1").arg(m_templateId));
    m_window = window;
    m_poster.Attach(window);
    const std::vector<QWidget*> controls = CreateControls(window, *dialog);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const int id = dialog->controls[i].id;
        if (id == -1) continue;
        m_controls[id] = controls[i];
        Connect(id, controls[i]);
    }
}

void CDialog::Connect(int id, QWidget* control) {
    QWidget* window = m_window;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, window, [this, id] { DispatchCommand(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        // Only the user's choice: a selection set from code does not notify.
        QObject::connect(combo, &QComboBox::activated, window, [this, id](int) { DispatchSelChange(id); });
    } else if (auto* tab = qobject_cast<CTabCtrl*>(control)) {
        QObject::connect(tab, &CTabCtrl::SelChanged, window, [this, id] { DispatchSelChange(id); });
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        QObject::connect(list, &QListWidget::itemSelectionChanged, window, [this, id] {
            if (m_quiet == 0) DispatchSelChange(id);
        });
    } else if (auto* trackbar = qobject_cast<CTrackbar*>(control)) {
        QObject::connect(trackbar, &CTrackbar::Scrolled, window,
                         [this, id](int code, int pos) { DispatchScroll(id, code, pos); });
    } else if (auto* upDown = qobject_cast<CUpDownCtrl*>(control)) {
        QObject::connect(upDown, &CUpDownCtrl::Scrolled, window,
                         [this, id](int pos) { DispatchScroll(id, TB_THUMBPOSITION, pos); });
    }
}

int CDialog::DoModal() {
    QWidget* parent = QApplication::activeWindow();
    Build(parent, false);
    m_modal = true;
    m_ended = false;
    m_result = 0;
    CallGuarded([this] { OnInitDialog(); });
    if (!m_ended && m_window) {
        auto* popup = static_cast<CDialogWindow*>(m_window.data());
        popup->show();
        popup->exec();
    }
    m_modal = false;
    // Nothing of this window runs any more, so it can go at once.
    delete TakeWindow();
    return m_result;
}

void CDialog::Create(CDialog* parent) { Create(parent ? parent->GetWindow() : nullptr); }

void CDialog::Create(QWidget* parent) {
    Build(parent, true);
    m_window->hide();
    CallGuarded([this] { OnInitDialog(); });
}

void CDialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
    if (!m_modal || !m_window) return;
    auto* popup = static_cast<CDialogWindow*>(m_window.data());
    popup->AllowClose();
    popup->done(result);
}

QWidget* CDialog::TakeWindow() {
    if (!m_window) return nullptr;
    CallGuarded([this] { OnDestroy(); });
    QWidget* window = m_window;
    // The handlers are bound to this object; a window waiting for deletion must not reach it.
    for (auto& [id, control] : m_controls) {
        if (control) control->disconnect(window);
    }
    WindowDestroyed();
    dynamic_cast<CDialogLink*>(window)->Orphan();
    window->hide();
    return window;
}

void CDialog::DestroyWindow() {
    // Deferred: the window may be the one whose event is being handled right now.
    if (QWidget* window = TakeWindow()) window->deleteLater();
}

void CDialog::WindowDestroyed() {
    m_poster.Detach();
    for (auto& [id, timer] : m_timers) {
        if (timer) {
            timer->stop();
            timer->deleteLater();
        }
    }
    m_timers.clear();
    m_controls.clear();
    m_window = nullptr;
}

void CDialog::ShowWindow(bool show) {
    if (m_window) m_window->setVisible(show);
}

void CDialog::SetWindowText(const std::string& text) {
    if (m_window) m_window->setWindowTitle(QString::fromStdString(text));
}

std::string CDialog::GetWindowText() const {
    return m_window ? m_window->windowTitle().toStdString() : std::string();
}

QWidget* CDialog::GetDlgItem(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.data();
}

void CDialog::EnableDlgItem(int id, bool enable) {
    if (QWidget* control = GetDlgItem(id)) control->setEnabled(enable);
}

bool CDialog::IsDlgItemEnabled(int id) const {
    QWidget* control = GetDlgItem(id);
    return control && control->isEnabled();
}

void CDialog::ShowDlgItem(int id, bool show) {
    if (QWidget* control = GetDlgItem(id)) control->setVisible(show);
}

bool CDialog::IsDlgItemShown(int id) const {
    QWidget* control = GetDlgItem(id);
    return control && !control->isHidden();
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    QWidget* control = GetDlgItem(id);
    const QString value = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(value);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(control)) {
        multi->setPlainText(value);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(value);
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    QWidget* control = GetDlgItem(id);
    QString value;
    if (auto* label = qobject_cast<QLabel*>(control)) {
        value = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        value = button->text();
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        value = edit->text();
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(control)) {
        value = multi->toPlainText();
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        value = group->title();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        value = combo->currentText();
    }
    return value.toStdString();
}

void CDialog::CheckDlgButton(int id, bool check) {
    if (auto* button = GetDlgItemAs<QAbstractButton>(id)) button->setChecked(check);
}

bool CDialog::IsDlgButtonChecked(int id) const {
    auto* button = GetDlgItemAs<QAbstractButton>(id);
    return button && button->isChecked();
}

void CDialog::CheckRadioButton(int first, int last, int id) {
    for (int each = first; each <= last; ++each) {
        if (each != id) CheckDlgButton(each, false);
    }
    CheckDlgButton(id, true);
}

void CDialog::SetCurSel(int id, int index) {
    ++m_quiet;
    QWidget* control = GetDlgItem(id);
    if (auto* tab = qobject_cast<CTabCtrl*>(control)) {
        tab->SetCurSel(index);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setCurrentIndex(index);
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        list->setCurrentRow(index);
    }
    --m_quiet;
}

int CDialog::GetCurSel(int id) const {
    QWidget* control = GetDlgItem(id);
    if (auto* tab = qobject_cast<CTabCtrl*>(control)) return tab->GetCurSel();
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentIndex();
    if (auto* list = qobject_cast<QListWidget*>(control)) return list->currentRow();
    return -1;
}

QWidget* CDialog::PlaceCustomControl(int placeholderId, QWidget* control) {
    QWidget* placeholder = GetDlgItem(placeholderId);
    if (!placeholder || !m_window) {
        delete control;
        throw CException(FormatMessageText("Control %1!d! is missing.", {placeholderId}));
    }
    control->setParent(m_window);
    control->setObjectName(placeholder->objectName());
    control->setGeometry(placeholder->geometry());
    control->setEnabled(placeholder->isEnabled());
    control->setVisible(!placeholder->isHidden());
    control->stackUnder(placeholder);
    m_window->setTabOrder(placeholder, control);
    delete placeholder;
    m_controls[placeholderId] = control;
    return control;
}

void CDialog::SetTimer(int id, int milliseconds) {
    if (!m_window) return;
    KillTimer(id);
    auto* timer = new QTimer(m_window);
    QObject::connect(timer, &QTimer::timeout, m_window, [this, id] { DispatchTimer(id); });
    timer->start(milliseconds);
    m_timers[id] = timer;
}

void CDialog::KillTimer(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return;
    // Deferred: the timer may be the one whose tick is being handled.
    if (QTimer* timer = it->second.data()) {
        timer->stop();
        timer->deleteLater();
    }
    m_timers.erase(it);
}

bool CDialog::OnCommand(int id) {
    auto it = m_clicked.find(id);
    if (it != m_clicked.end()) {
        const auto handler = it->second;
        handler();
        return true;
    }
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::MapClicked(int id, std::function<void()> handler) { m_clicked[id] = std::move(handler); }
void CDialog::MapSelChange(int id, std::function<void()> handler) { m_selChange[id] = std::move(handler); }
void CDialog::MapScroll(int id, std::function<void(int, int)> handler) { m_scroll[id] = std::move(handler); }

void CDialog::DispatchCommand(int id) {
    CallGuarded([this, id] { OnCommand(id); });
}

void CDialog::DispatchSelChange(int id) {
    auto it = m_selChange.find(id);
    if (it == m_selChange.end()) return;
    CallGuarded(std::function<void()>(it->second));
}

void CDialog::DispatchScroll(int id, int code, int pos) {
    auto it = m_scroll.find(id);
    if (it == m_scroll.end()) return;
    CallGuarded([handler = it->second, code, pos] { handler(code, pos); });
}

void CDialog::DispatchTimer(int id) {
    CallGuarded([this, id] { OnTimer(id); });
}

void CDialog::DispatchOk() {
    CallGuarded([this] { OnOK(); });
}

void CDialog::DispatchCancel() {
    CallGuarded([this] { OnCancel(); });
}

void CDialog::DispatchClose() {
    CallGuarded([this] { OnClose(); });
}

void CDialog::DispatchShowWindow(bool show) {
    CallGuarded([this, show] { OnShowWindow(show); });
}
