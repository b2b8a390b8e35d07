#pragma once

namespace brimwell {

// The application: runs the main window as a modal dialog and ends when it closes.
class CBrimwellApp {
public:
    // Runs the application from start to end; returns false, which ends the process.
    bool InitInstance();
};

} // namespace brimwell
