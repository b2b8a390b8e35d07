#include "printer/JobSequence.h"

#include "printer/PrinterJob.h"

#include <algorithm>
#include <cstdint>

namespace brimwell {

std::optional<JobOutcome::Result> FailedResult(CPrinterJob::Failure failure) {
    switch (failure) {
    case CPrinterJob::Failure::NoMemory:
        return JobOutcome::Result::NoMemory;
    case CPrinterJob::Failure::WriteFailed:
        return JobOutcome::Result::WriteFailed;
    case CPrinterJob::Failure::Stopped:
        return JobOutcome::Result::Stopped;
    default:
        return std::nullopt;
    }
}

JobOutcome RunJobSequence(IDeviceOpener& opener, ITickSource& ticks, const JobRequest& request,
                          JobControl* control) {
    JobOutcome outcome;
    CPrinterJob job(opener, ticks);
    job.SetControl(control);
    if (!job.Open(request.devicePath)) {
        outcome.result = JobOutcome::Result::CantOpen;
        outcome.openError = job.OpenError();
        outcome.reason = job.FailureReason();
        return outcome;
    }
    const std::optional<std::string> bytes = request.build ? request.build() : std::nullopt;
    if (!bytes) {
        job.CloseNow();
        return outcome; // NotBuilt
    }
    outcome.length = static_cast<std::uint32_t>(std::min<std::size_t>(bytes->size(), UINT32_MAX));
    if (control) {
        control->SetLength(outcome.length);
    }
    if (job.SpoolText(*bytes) && job.Write() && job.Commit()) {
        outcome.result = JobOutcome::Result::Sent;
        outcome.taken = outcome.length;
        if (request.toPrinter) {
            job.Close(request.holdMs);
        } else {
            job.CloseNow();
        }
        return outcome;
    }
    outcome.result = FailedResult(job.LastFailure()).value_or(JobOutcome::Result::WriteFailed);
    if (outcome.result == JobOutcome::Result::WriteFailed) {
        outcome.reason = job.FailureReason();
    }
    outcome.taken = control ? control->Taken() : 0;
    job.CloseNow(); // a failed job is closed at once, without the hold
    return outcome;
}

std::string JobFailureMessage(const JobOutcome& outcome, const std::string& name, bool openReason) {
    switch (outcome.result) {
    case JobOutcome::Result::CantOpen: {
        const std::string message = FormatMessage(Tr(kMsgCantOpen), name);
        return openReason ? WithReason(message, outcome.reason) : message;
    }
    case JobOutcome::Result::NoMemory:
        return Tr(kMsgSpoolMemory);
    case JobOutcome::Result::WriteFailed:
        return WithReason(FormatMessage(Tr(kMsgWriteFailure), name), outcome.reason);
    case JobOutcome::Result::Stopped:
        return FormatMessage(Tr(kMsgJobStopped), name);
    default:
        return {};
    }
}

} // namespace brimwell
