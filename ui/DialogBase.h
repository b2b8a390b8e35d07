#pragma once
#include "ui/Dialog.h"

namespace brimwell {

// The logic of one dialog window (the main window or a page), written once for every host.
// The host builds the window from the template, attaches it (AttachDialog), runs
// OnInitDialog and from then on delivers the controls' notifications; the logic talks to its
// controls only through Dialog(). Until it is attached, and after its window is gone, Dialog()
// is a dialog without controls, so a late call does nothing.
class CDialogBase {
public:
    explicit CDialogBase(int nIDTemplate) : m_nIDTemplate(nIDTemplate) {}
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    int DialogId() const { return m_nIDTemplate; }
    IDialog& Dialog() const;
    bool IsAttached() const { return m_pDlg != nullptr; }

    // Called by the host: the window exists (dlg), or is gone (nullptr).
    void AttachDialog(IDialog* dlg) { m_pDlg = dlg; }

    // Notifications, delivered by the host.
    virtual bool OnInitDialog() { return true; }
    virtual void OnCommand(int /*nID*/, Notify /*code*/) {}
    virtual void OnHScroll(int /*nID*/, int /*nPos*/) {}
    // The window's close command (caption button, window menu, Alt+F4).
    virtual void OnSysCommandClose() {}
    // The session is about to end (log off, shut down): false asks the system to wait, while
    // work that must not be cut off runs.
    virtual bool OnQueryEndSession() { return true; }
    // The window moved to a screen of another DPI and the host has laid its controls out
    // anew: what the logic sized itself may be redone.
    virtual void OnDpiChanged() {}

private:
    int m_nIDTemplate;
    IDialog* m_pDlg = nullptr;
};

} // namespace brimwell
