#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <unordered_map>

#include "platform/dialog_template.h"
#include "ui/framework/message_box.h"
#include "ui/framework/ui_call_poster.h"

class QTimer;

// What a scroll handler is told: the user's action on a trackbar or an up-down control.
enum : int {
    TB_LINEUP = 0,
    TB_LINEDOWN = 1,
    TB_PAGEUP = 2,
    TB_PAGEDOWN = 3,
    TB_THUMBPOSITION = 4,
    TB_THUMBTRACK = 5,
    TB_TOP = 6,
    TB_BOTTOM = 7,
    TB_ENDTRACK = 8,
};

// A dialog built from a template of the current resource module: modal (DoModal) or as a frameless
// child page inside another dialog (Create). The object outlives its windows: each DoModal or Create
// builds a new window from the template, DestroyWindow (or the end of DoModal) takes it down, and the
// same object can build one again. Handlers are bound to control ids once, in the constructor of the
// derived class, and every handler runs guarded: what it throws is shown in a message box and the
// dialog goes on.
class CDialog {
public:
    explicit CDialog(unsigned templateId);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog modally; returns the code EndDialog was given.
    int DoModal();
    // Builds the dialog as a hidden child page of `parent`'s window.
    void Create(CDialog* parent);
    void Create(QWidget* parent);
    // Takes the window down; nothing happens when there is none.
    void DestroyWindow();
    void EndDialog(int result);

    QWidget* GetWindow() const { return m_window; }
    bool IsWindow() const { return !m_window.isNull(); }
    void ShowWindow(bool show);
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;

    // Controls by id; null when the window has no such control.
    QWidget* GetDlgItem(int id) const;
    template <class T>
    T* GetDlgItemAs(int id) const {
        return dynamic_cast<T*>(GetDlgItem(id));
    }
    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;
    void ShowDlgItem(int id, bool show);
    // Whether the control is meant to be seen (its own flag, whatever its parents are).
    bool IsDlgItemShown(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void CheckDlgButton(int id, bool check);
    bool IsDlgButtonChecked(int id) const;
    // Checks radio button `id` of the group first..last and clears the others.
    void CheckRadioButton(int first, int last, int id);
    // Selection of a tab control, combo box or list box. Setting it does not call the handler.
    void SetCurSel(int id, int index);
    int GetCurSel(int id) const;
    // Puts `control` where placeholder `placeholderId` stands, in the placeholder's rectangle, and
    // registers it under that id. The dialog's window takes ownership of it.
    QWidget* PlaceCustomControl(int placeholderId, QWidget* control);

    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);

    // Runs `call` on the user-interface thread while this window exists; safe from any thread.
    bool PostCall(std::function<void()> call) const { return m_poster.Post(std::move(call)); }
    // A handle other objects can keep to post to this dialog's windows.
    const CUiCallPoster& Poster() const { return m_poster; }

    // Delivers what the window's controls and keys ask for; also the entry point of tests.
    void DispatchCommand(int id);
    void DispatchSelChange(int id);
    void DispatchScroll(int id, int code, int pos);
    void DispatchTimer(int id);
    void DispatchOk();
    void DispatchCancel();
    void DispatchClose();
    void DispatchShowWindow(bool show);
    // The window tells its owner that it is going away.
    void WindowDestroyed();

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnClose() { OnCancel(); }
    virtual void OnTimer(int) {}
    virtual void OnDestroy() {}
    // A child page was shown or hidden.
    virtual void OnShowWindow(bool) {}
    // Every command (button click or menu choice) passes here first; the base calls the bound handler,
    // or OnOK / OnCancel for IDOK / IDCANCEL. Returns whether anything handled it.
    virtual bool OnCommand(int id);

    void MapClicked(int id, std::function<void()> handler);
    void MapSelChange(int id, std::function<void()> handler);
    void MapScroll(int id, std::function<void(int code, int pos)> handler);

private:
    void Build(QWidget* parent, bool child);
    void Connect(int id, QWidget* control);
    // Detaches the window from this object and hands it over for deletion.
    QWidget* TakeWindow();

    unsigned m_templateId;
    QPointer<QWidget> m_window;
    std::map<int, QPointer<QWidget>> m_controls;
    std::map<int, QPointer<QTimer>> m_timers;
    std::unordered_map<int, std::function<void()>> m_clicked;
    std::unordered_map<int, std::function<void()>> m_selChange;
    std::unordered_map<int, std::function<void(int, int)>> m_scroll;
    CUiCallPoster m_poster;
    bool m_modal = false;
    bool m_ended = false;
    int m_result = 0;
    int m_quiet = 0;
};
