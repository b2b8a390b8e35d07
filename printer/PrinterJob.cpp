#include "printer/PrinterJob.h"

#include "printer/TextFormat.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace brimwell {

std::string FormatMessage(const char* format, const std::string& text) {
    std::string out(format);
    const auto at = out.find("%s");
    if (at != std::string::npos) {
        out.replace(at, 2, text);
    }
    return out;
}

std::string WithReason(const std::string& message, const std::string& reason) {
    if (reason.empty()) {
        return message;
    }
    // A sentence keeps its one full stop at the very end: "Can't open the specified file:
    // No such file or directory.", as "Time '...' does not exist: February has 28 days." does.
    if (message.empty() || message.back() != '.') {
        return message + ": " + reason;
    }
    std::string joined = message.substr(0, message.size() - 1) + ": " + reason;
    if (joined.back() != '.' && joined.back() != '!' && joined.back() != '?') {
        joined += '.';
    }
    return joined;
}

std::optional<SpoolGrowth> ComputeSpoolGrowth(std::uint32_t size, std::uint32_t growBy,
                                              std::uint64_t needed) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    if (needed > kMax || growBy == 0) {
        return std::nullopt;
    }
    std::uint64_t newSize = size;
    std::uint64_t step = growBy;
    do {
        newSize += step;
        step *= 2;
        if (newSize > kMax || step > kMax) {
            return std::nullopt;
        }
    } while (newSize < needed);
    return SpoolGrowth{static_cast<std::uint32_t>(newSize), static_cast<std::uint32_t>(step)};
}

CPrinterJob::CPrinterJob(IDeviceOpener& opener, ITickSource& ticks, Reallocator realloc)
    : m_opener(opener), m_ticks(ticks), m_realloc(realloc) {}

CPrinterJob::~CPrinterJob() {
    Close(0);
}

void CPrinterJob::Reset() {
    m_hPrinter.reset();
    std::free(m_pSpool);
    m_pSpool = nullptr;
    m_nSpoolSize = 0;
    m_nSpoolGrowBy = kSpoolInitialGrowBy;
    m_nSpoolLength = 0;
    m_bJobOk = false;
}

bool CPrinterJob::Open(const std::string& devicePath) {
    Close(0);
    m_failure = Failure::None;
    m_openError = DeviceOpenError::None;
    m_failureReason.clear();
    m_hPrinter = m_opener.OpenForWrite(devicePath);
    if (m_hPrinter) {
        m_hPrinter->SetControl(m_control);
    } else {
        m_failure = Failure::OpenFailed;
        m_failureReason = m_opener.LastOpenReason();
        m_openError = m_opener.LastOpenError();
        if (m_openError == DeviceOpenError::None) {
            m_openError = DeviceOpenError::Other;
        }
        return false;
    }
    m_dwJobStart = m_ticks.GetTickCount();
    m_bJobOk = true;
    return true;
}

bool CPrinterJob::SpoolBytes(const void* data, std::uint32_t length) {
    if (!m_bJobOk) {
        return false;
    }
    const std::uint64_t needed = std::uint64_t{m_nSpoolLength} + length;
    if (needed > m_nSpoolSize) {
        const auto growth = ComputeSpoolGrowth(m_nSpoolSize, m_nSpoolGrowBy, needed);
        void* grown = nullptr;
        if (growth) {
            m_nSpoolGrowBy = growth->newGrowBy;
            grown = m_realloc(m_pSpool, growth->newSize);
        }
        if (!grown) {
            m_bJobOk = false;
            m_failure = Failure::NoMemory;
            return false;
        }
        m_pSpool = static_cast<std::uint8_t*>(grown);
        m_nSpoolSize = growth->newSize;
    }
    if (length != 0) {
        std::memcpy(m_pSpool + m_nSpoolLength, data, length);
    }
    m_nSpoolLength = static_cast<std::uint32_t>(needed);
    return m_bJobOk;
}

bool CPrinterJob::SpoolPrintf(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const bool ok = SpoolVPrintf(format, args);
    va_end(args);
    return ok;
}

bool CPrinterJob::SpoolVPrintf(const char* format, std::va_list args) {
    if (!m_bJobOk) {
        return false;
    }
    std::string text;
    if (!AppendVPrintf(text, format, args)) {
        // Not representable as text: nothing sensible can be sent.
        m_bJobOk = false;
        m_failure = Failure::NoMemory;
        return false;
    }
    return SpoolText(text);
}

bool CPrinterJob::SpoolText(std::string_view text) {
    if (m_bJobOk && text.size() > UINT32_MAX) {
        m_bJobOk = false;
        m_failure = Failure::NoMemory;
    }
    return SpoolBytes(text.data(), static_cast<std::uint32_t>(text.size()));
}

bool CPrinterJob::Write() {
    if (!m_bJobOk || m_nSpoolLength == 0) {
        return m_bJobOk;
    }
    if (m_control) {
        m_control->SetLength(m_nSpoolLength);
        m_control->SetTaken(0);
    }
    std::uint32_t written = 0;
    const bool ok = m_hPrinter->Write(m_pSpool, m_nSpoolLength, &written) &&
                    written >= m_nSpoolLength && m_hPrinter->Drain();
    if (!ok) {
        m_bJobOk = false;
        m_failure = m_hPrinter->StoppedByRequest() ? Failure::Stopped : Failure::WriteFailed;
        m_failureReason = m_hPrinter->FailureReason();
    }
    m_nSpoolLength = 0;
    return m_bJobOk;
}

bool CPrinterJob::Commit() {
    if (m_bJobOk && !m_hPrinter->Commit()) {
        m_bJobOk = false;
        m_failure = Failure::WriteFailed;
        m_failureReason = m_hPrinter->FailureReason();
    }
    return m_bJobOk;
}

void CPrinterJob::CloseNow() {
    Reset();
}

void CPrinterJob::Close(std::uint32_t minMs) {
    if (m_hPrinter) {
        m_hPrinter.reset();
        if (m_bJobOk && m_dwJobStart != 0) {
            do {
                m_ticks.Sleep(50);
            } while (static_cast<std::uint32_t>(m_ticks.GetTickCount() - m_dwJobStart) < minMs &&
                     !(m_control && m_control->StopRequested()));
        }
    }
    Reset();
}

} // namespace brimwell
