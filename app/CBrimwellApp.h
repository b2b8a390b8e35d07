#pragma once

namespace brimwell {

class CDialogBase;

// Runs `dialog` as a modal top-level window built from its template and returns its result:
// what the host of this platform does.
using ModalDialogRunner = int (*)(CDialogBase& dialog);

// The application: runs the main window as a modal dialog and ends when it closes.
class CBrimwellApp {
public:
    explicit CBrimwellApp(ModalDialogRunner runModal) : m_pfnRunModal(runModal) {}

    // Runs the application from start to end; returns false, which ends the process.
    bool InitInstance();

private:
    ModalDialogRunner m_pfnRunModal;
};

} // namespace brimwell
