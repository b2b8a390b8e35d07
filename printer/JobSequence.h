#pragma once
#include "platform/DeviceOpener.h"
#include "platform/JobControl.h"
#include "platform/Ticks.h"
#include "printer/PrinterJob.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace brimwell {

// One job as it goes to its destination: the window's pages and the command-line companion
// send every job through RunJobSequence, so both open, write, drain, hold and close alike.
struct JobRequest {
    std::string devicePath;
    // The job's bytes, built once the device is open (a job that carries the time it is sent
    // at is stamped then); nullopt sends nothing and closes the device.
    std::function<std::optional<std::string>()> build;
    // A printer needs its pause after a job (the hold, counted from the opening); a file or
    // standard output is closed at once, and replaces its target only when the job went out.
    bool toPrinter = true;
    std::uint32_t holdMs = 500;
};

struct JobOutcome {
    enum class Result {
        Sent,        // out whole, drained, closed after the hold
        NotBuilt,    // the builder gave nothing: nothing sent, nothing to report
        CantOpen,    // the device or file did not open
        NoMemory,    // the job buffer could not hold the job
        WriteFailed, // the write, the drain or the commit failed (a stall among them)
        Stopped,     // a stop was requested while the job was being written
    };
    Result result = Result::NotBuilt;
    DeviceOpenError openError = DeviceOpenError::None;
    std::string reason;       // the system's own words for a failure; empty when it gave none
    std::uint32_t length = 0; // the job's bytes
    std::uint32_t taken = 0;  // of which the device took (all of them when sent)
    bool Sent() const { return result == Result::Sent; }
};

// The outcome a job's failure after a successful open stands for; nullopt for none (or a
// refused open, which the sequence reports itself).
std::optional<JobOutcome::Result> FailedResult(CPrinterJob::Failure failure);

// Runs the whole job on the calling thread: open, build, append, one write, drain, commit,
// then the hold for a printer and the close. `control`, when given, can stop the write and the
// drain from another thread and hears of the bytes taken. Shows nothing and touches no window:
// the outcome says what happened.
JobOutcome RunJobSequence(IDeviceOpener& opener, ITickSource& ticks, const JobRequest& request,
                          JobControl* control = nullptr);

// What the user is told of an outcome that failed: the transport's message naming `name` (the
// printer's display text in the window, the path in the companion), with the system's reason
// after a write failure; after a refused open too when `openReason` is set (the companion).
// Empty for Sent and NotBuilt.
std::string JobFailureMessage(const JobOutcome& outcome, const std::string& name, bool openReason);

} // namespace brimwell
