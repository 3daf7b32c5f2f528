#include "ui/controls/parameter_list_ctrl.h"

#include <QApplication>

#include <algorithm>
#include <exception>
#include <mutex>
#include <string>

#include "link/modbus_interface.h"
#include "model/set/par_base.h"
#include "ui/framework/message_box.h"
#include "ui/framework/wait_cursor.h"

namespace {
enum Column : int { kHiddenColumn = 0, kNameColumn = 1, kValueColumn = 2 };
constexpr int32_t kFirstHeadingCode = 65000;
}  // namespace

const QColor CParameterListCtrl::kNameColour(100, 255, 150);
const QColor CParameterListCtrl::kEditableColour(255, 255, 180);

CParameterListCtrl::CParameterListCtrl() { m_editor.Attach(this); }

CParameterListCtrl::~CParameterListCtrl() = default;

void CParameterListCtrl::Initialize(CReportListCtrl* list) {
    m_list = list;
    if (!list) return;
    list->DeleteAllItems();
    list->setColumnCount(0);
    for (int column = kHiddenColumn; column <= kValueColumn; ++column) list->InsertColumn(column, 0);
    m_nameWidth = 0;
    AdjustColumns();
    m_editor.Create(list);
    list->SetClickHandler([this](int row, int column) { OnClick(row, column); });
    list->SetResizeHandler([this] { AdjustColumns(); });
    list->SetCellColours([this](int row, int column, QColor& text, QColor& background) {
        return CellColour(row, column, text, background);
    });
}

void CParameterListCtrl::SetParameterSet(CParBase* set, int group) {
    if (set != m_set || group != m_group) CancelEdit();
    if (set != m_set) m_shown.reset();
    m_set = set;
    m_group = group;
}

void CParameterListCtrl::SetReadOnly(bool readOnly) {
    if (readOnly) CancelEdit();
    m_readOnly = readOnly;
}

void CParameterListCtrl::SetProtectedKinds(bool editable) {
    if (!editable) CancelEdit();
    m_protectedKinds = editable;
}

void CParameterListCtrl::DeleteAllItems() {
    CancelEdit();
    if (m_list && m_list->GetItemCount() > 0) m_list->DeleteAllItems();
}

void CParameterListCtrl::CancelEdit() { m_editor.HideEditors(); }

void CParameterListCtrl::AdjustColumns() {
    if (!m_list) return;
    const int width = m_list->viewport()->width();
    const int name = std::min(m_nameWidth, width - width / 3);
    m_list->SetColumnWidth(kHiddenColumn, 0);
    m_list->SetColumnWidth(kNameColumn, name);
    m_list->SetColumnWidth(kValueColumn, width - name);
}

std::unique_lock<std::recursive_mutex> CParameterListCtrl::LockSet() const {
    if (!m_modbus) return {};
    return std::unique_lock<std::recursive_mutex>(m_modbus->GetMutex());
}

void CParameterListCtrl::Repaint() {
    if (m_list) m_list->viewport()->update();
}

void CParameterListCtrl::Refresh() {
    if (!m_list) return;
    CReportListCtrl& list = *m_list;
    const std::unique_lock<std::recursive_mutex> lock = LockSet();
    m_rowKinds.clear();
    list.BeginUpdate();
    const int oldCount = list.GetItemCount();
    bool namesChanged = false;
    int row = 0;
    for (; m_set && row < m_set->GetParamCount(m_group); ++row) {
        const int32_t code = m_set->GetParamId(m_group, row);
        m_rowKinds.push_back(m_set->GetParamState(code));
        const std::string name = m_set->GetParamName(code);
        if (row >= oldCount) list.InsertItem(row, "");
        list.SetItemData(row, code);
        if (m_refreshAll || list.GetItemText(row, kNameColumn) != name) {
            list.SetItemText(row, kNameColumn, name);
            namesChanged = true;
        }
        const std::string value = m_set->FormatValue(code, m_set->GetValue(code), true);
        if (m_refreshAll || list.GetItemText(row, kValueColumn) != value)
            list.SetItemText(row, kValueColumn, value);
    }
    namesChanged = namesChanged || list.GetItemCount() > row;
    while (list.GetItemCount() > row) list.DeleteItem(list.GetItemCount() - 1);
    if (m_modbus && m_set) {
        m_shown = m_set->Clone();
    } else {
        m_shown.reset();
    }
    list.EndUpdate();
    // A cell whose text is unchanged is not rewritten by the list; its colours may have changed, though.
    if (m_refreshAll) list.viewport()->update();
    m_refreshAll = false;
    if (namesChanged) m_nameWidth = list.GetContentWidth(kNameColumn);
    AdjustColumns();
}

bool CParameterListCtrl::IsEditableKind(int32_t kind) const {
    if (kind == kParTextFileOnly || kind == kParChoiceFileOnly) return m_protectedKinds;
    return kind == kParText || kind == kParChoice;
}

void CParameterListCtrl::BeginEdit(int row) {
    if (m_readOnly || !m_list || !m_set) return;
    if (row == -1) row = m_list->GetFirstSelected();
    if (row < 0 || row >= m_list->GetItemCount()) return;
    const auto code = static_cast<int32_t>(m_list->GetItemData(row));
    // The editor opens from the values the list shows, without the Modbus lock: a poll on a device
    // that has stopped answering holds it through all its attempts.
    const CParBase* shown = m_modbus ? m_shown.get() : m_set;
    if (shown == nullptr || !IsEditableKind(shown->GetParamState(code))) return;
    // A row partly outside the view is scrolled in first, so the editor stands on the whole cell.
    m_list->EnsureVisible(row);
    m_editor.SetCellRect(m_list->GetSubItemRect(row, kValueColumn));
    m_editedCode = code;
    shown->SetupEditor(code, m_editor);
}

void CParameterListCtrl::OnClick(int row, int column) {
    if (row != -1 && column == kValueColumn) BeginEdit(row);
}

void CParameterListCtrl::Update(CObservable* source) {
    if (source != static_cast<CObservable*>(&m_editor)) return;
    int navigation = CInPlaceTextEdit::kStay;
    // The owner may have locked the list since the editor opened: then nothing is written.
    const bool accepted = m_editor.GetMode() != CParEditor::kCancelled && !m_readOnly && m_set;
    if (accepted) {
        navigation = m_editor.GetNavigation();
        Commit();
        Refresh();
        Notify();
        m_refreshAll = true;
    }
    // The list takes the focus back from its editor, but not from a window the user went to.
    QWidget* focus = QApplication::focusWidget();
    if (m_list && (accepted || !focus || m_list->isAncestorOf(focus))) m_list->setFocus();
    if (accepted) Navigate(navigation);
}

void CParameterListCtrl::Commit() {
    const int32_t code = m_editedCode;
    if (!m_modbus) {
        try {
            m_set->SetValueFromItem(code, m_editor);
        } catch (const std::exception& failure) {
            AfxMessageBox(failure.what(), MB_OK);
        }
        return;
    }
    // A value the device refuses must not stay in the set as if the device held it.
    const std::string old = m_set->GetValueString(code);
    bool stored = false;
    try {
        const CWaitCursor wait;
        const auto lock = m_modbus->LockCuttingIn();
        m_set->SetValueFromItem(code, m_editor);
        stored = true;
        m_set->WriteParamModbus(*m_modbus, code);
        m_set->ReadParamModbus(*m_modbus, code);
    } catch (const std::exception& failure) {
        if (stored) m_set->SetValueFromString(code, old, false);
        AfxMessageBox(failure.what(), MB_OK);
    }
}

void CParameterListCtrl::Navigate(int navigation) {
    if (navigation == CInPlaceTextEdit::kStay || !m_list) return;
    const int current = m_list->GetFirstSelected();
    if (current < 0) return;
    const int target = navigation == CInPlaceTextEdit::kNext ? current + 1 : current - 1;
    if (target < 0 || target >= m_list->GetItemCount()) return;
    m_list->MoveSelection(current, target);
    m_list->EnsureVisible(target);
    BeginEdit(-1);
}

bool CParameterListCtrl::CellColour(int row, int column, QColor& text, QColor& background) const {
    if (!m_list || !m_set) return false;
    const auto code = static_cast<int32_t>(m_list->GetItemData(row));
    text = m_list->palette().color(QPalette::Text);
    if (column == kNameColumn || code >= kFirstHeadingCode) {
        background = kNameColour;
        return true;
    }
    const int32_t kind = row < static_cast<int>(m_rowKinds.size()) ? m_rowKinds[row] : kParReadOnly;
    const bool plain = kind == kParReadOnly ||
                       (!m_protectedKinds && (kind == kParTextFileOnly || kind == kParChoiceFileOnly)) ||
                       m_readOnly;
    background = plain ? m_list->palette().color(QPalette::Base) : kEditableColour;
    return true;
}
