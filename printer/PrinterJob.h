#pragma once
#include "platform/DeviceOpener.h"
#include "platform/Ticks.h"
#include "text/Translate.h"

#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brimwell {

#if defined(__GNUC__)
#define BRIMWELL_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define BRIMWELL_PRINTF(fmtIndex, firstArg)
#endif

// The messages of the transport. "%s" is the printer's display text in the window, the
// device path in the command-line companion.
inline constexpr const char* kMsgCantOpen = N_("Error : can't open '%s'");
inline constexpr const char* kMsgSpoolMemory =
    N_("Error : failed to allocate internal spool memory");
inline constexpr const char* kMsgWriteFailure = N_("Error : write failure for '%s'");
inline constexpr const char* kMsgJobStopped = N_(
    "Error : the job for '%s' was stopped. The printer may hold part of it: send the job again.");

// The questions asked before a job opens the printer. The second ends with the advice the
// command-line companion prints after a job that changes what the printer runs.
inline constexpr const char* kConfirmPlain = N_("Click 'OK' to proceed.");
inline constexpr const char* kConfirmPowerCycle =
    N_("Click 'OK' to proceed.\r\n\r\nWhen all printer lights stop flashing, turn the printer off "
       "then on again.");
inline constexpr const char* kPowerCycleAdvice =
    N_("When all printer lights stop flashing, turn the printer off then on again.");

// Replaces the first "%s" of a message with text.
std::string FormatMessage(const char* format, const std::string& text);
// A message about a failure of the system, followed by the system's own reason after a colon
// when it gave one.
std::string WithReason(const std::string& message, const std::string& reason);

// How long, from the opening of the device, a successful job to a printer keeps the wait
// cursor and the window (the command-line companion: the printer): the printer needs the
// pause before it takes the next job. A file needs none.
inline constexpr std::uint32_t JOB_HOLD_MS = 500;

inline constexpr std::uint32_t kSpoolInitialGrowBy = 16384;

// The next buffer size for a job buffer of `size` bytes whose growth step is `growBy` and
// which must hold `needed` bytes: the step is added and then doubled until the size is not
// less than the need. nullopt when the size or the step would pass 32 bits; that is an
// allocation failure, never a wrap-around.
struct SpoolGrowth {
    std::uint32_t newSize;
    std::uint32_t newGrowBy;
};
std::optional<SpoolGrowth> ComputeSpoolGrowth(std::uint32_t size, std::uint32_t growBy,
                                              std::uint64_t needed);

// One printer job: the device, the job buffer and the success flag that every step checks.
// No user-interface code: the page base adds the questions, messages and wait cursor, and
// the command-line companion uses it as it is.
class CPrinterJob {
public:
    enum class Failure { None, OpenFailed, NoMemory, WriteFailed, Stopped };
    using Reallocator = void* (*)(void*, std::size_t);

    CPrinterJob(IDeviceOpener& opener, ITickSource& ticks, Reallocator realloc = &std::realloc);
    ~CPrinterJob();
    CPrinterJob(const CPrinterJob&) = delete;
    CPrinterJob& operator=(const CPrinterJob&) = delete;

    // Closes any earlier job (without a hold), then opens the device. On success the job is
    // open and the start tick is noted.
    bool Open(const std::string& devicePath);
    bool SpoolBytes(const void* data, std::uint32_t length);
    // Appends text of any length; text the 32-bit buffer cannot count is an allocation
    // failure, never a truncated job.
    bool SpoolText(std::string_view text);
    bool SpoolPrintf(const char* format, ...) BRIMWELL_PRINTF(2, 3);
    bool SpoolVPrintf(const char* format, std::va_list args);
    // Writes what was appended since the last write, in one request, and waits until the
    // device has really taken it (a printer driver that queues the last transfer would kill it
    // at close). A stop requested through the job control fails it as Stopped.
    bool Write();
    // The job control that can stop this job's writes and hears of the bytes taken; nullptr
    // for none. Set before Open; it must outlive the job's use of it.
    void SetControl(JobControl* control) { m_control = control; }
    // Makes the written job final at its destination (an output file takes the place of
    // the file it replaces); a failure counts as a write failure. A device needs no commit.
    bool Commit();
    // Closes the device; after a successful job waits, in 50 ms sleeps (at least one),
    // until minMs have passed since the device was opened (or a stop is requested: the job is
    // out whole by then, only the printer's pause is cut short). Then resets the job.
    void Close(std::uint32_t minMs);
    // Closes and resets the job with no hold at all: for a destination that needs no time
    // to settle (a file, standard output).
    void CloseNow();

    bool IsDeviceOpen() const { return m_hPrinter != nullptr; }
    bool IsOk() const { return m_bJobOk; }
    Failure LastFailure() const { return m_failure; }
    // Why the last Open failed.
    DeviceOpenError OpenError() const { return m_openError; }
    // The system's own words for the last open, write or commit failure; empty when it gave
    // none. The window's messages do not show it; the command-line companion adds it.
    const std::string& FailureReason() const { return m_failureReason; }
    std::uint32_t SpoolSize() const { return m_nSpoolSize; }
    std::uint32_t SpoolGrowBy() const { return m_nSpoolGrowBy; }
    std::uint32_t SpoolLength() const { return m_nSpoolLength; }
    const std::uint8_t* SpoolData() const { return m_pSpool; }
    std::uint32_t JobStart() const { return m_dwJobStart; }

private:
    void Reset();

    IDeviceOpener& m_opener;
    ITickSource& m_ticks;
    Reallocator m_realloc;
    JobControl* m_control = nullptr;
    std::unique_ptr<IDeviceHandle> m_hPrinter;
    std::uint32_t m_dwJobStart = 0;
    bool m_bJobOk = false;
    std::uint32_t m_nSpoolSize = 0;
    std::uint32_t m_nSpoolGrowBy = kSpoolInitialGrowBy;
    std::uint32_t m_nSpoolLength = 0;
    std::uint8_t* m_pSpool = nullptr;
    Failure m_failure = Failure::None;
    DeviceOpenError m_openError = DeviceOpenError::None;
    std::string m_failureReason;
};

} // namespace brimwell
