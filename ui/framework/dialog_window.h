#pragma once

#include <QDialog>
#include <QWidget>

class CDialog;

// What ties a window to the dialog object that built it. The object orphans its window before it goes,
// so a window outliving its object (its deletion deferred) tells nobody.
class CDialogLink {
public:
    explicit CDialogLink(CDialog* owner) : m_owner(owner) {}
    virtual ~CDialogLink();
    void Orphan() { m_owner = nullptr; }

protected:
    CDialog* Owner() const { return m_owner; }

private:
    CDialog* m_owner;
};

// The top-level window of a modal dialog. Enter clicks the focused push button, else the default
// button, else asks the owner's OnOK; Esc asks OnCancel; the close box asks OnClose. The window never
// closes by itself: only its owner ends it.
class CDialogWindow : public QDialog, public CDialogLink {
public:
    CDialogWindow(CDialog* owner, QWidget* parent);

    // Set by the owner when it ends the dialog, so the close that follows is let through.
    void AllowClose() { m_closing = true; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_closing = false;
};

// The window of a child page. Keys it does not use go on to the dialog it stands in.
class CPageWindow : public QWidget, public CDialogLink {
public:
    CPageWindow(CDialog* owner, QWidget* parent);

protected:
    // The owner hears when the page is shown or hidden.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};
