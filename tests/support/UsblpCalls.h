#pragma once
// A USB printer node as the Linux printer driver (usblp) gives it to a descriptor opened
// non-blocking, for the device writer's system-call seam: a write queues one transfer of at
// most 8 KiB and returns at once, presuming it will complete; a write while a transfer is in
// flight answers EAGAIN (a zero-length one too, and 0 once none is); poll reports POLLOUT only
// when no transfer is in flight; and closing the node kills a transfer still in flight, whose
// bytes never reach the printer. Time is the fake tick source's: a transfer completes
// `transferMs` after it was queued, and a wait moves the clock on to that moment.
#include "platform/fake/FakeServices.h"
#include "platform/linux/PosixCalls.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <poll.h>
#include <string>

namespace brimwell::test {

class UsblpCalls : public IPosixCalls {
public:
    static constexpr std::size_t kTransferMax = 8192; // the driver's buffer for one transfer
    static constexpr int kFd = 4242;

    explicit UsblpCalls(fake::FakeTicks& ticks) : m_ticks(ticks) {}

    int Open(const char*, int, mode_t) override {
        ++opens;
        if (unplugged) {
            errno = ENODEV;
            return -1;
        }
        return kFd;
    }
    ssize_t Write(int, const void* data, std::size_t length) override {
        Complete();
        if (unplugged) {
            errno = ENODEV;
            return -1;
        }
        if (!inFlight.empty()) {
            errno = EAGAIN;
            return -1;
        }
        const std::size_t n = std::min(length, kTransferMax);
        inFlight.assign(static_cast<const char*>(data), n);
        m_queuedAt = m_ticks.now;
        return static_cast<ssize_t>(n);
    }
    int PollWritable(int, int stopFd, int timeoutMs) override {
        Complete();
        if (inFlight.empty() || unplugged) {
            return 1;
        }
        if (stopFd >= 0) {
            pollfd stop{stopFd, POLLIN, 0};
            if (::poll(&stop, 1, 0) > 0) {
                return 1;
            }
        }
        const std::uint32_t due = m_queuedAt + transferMs;
        if (stalled || static_cast<std::uint32_t>(due - m_ticks.now) > std::uint32_t(timeoutMs)) {
            m_ticks.now += static_cast<std::uint32_t>(timeoutMs);
            if (onStall) {
                onStall();
            }
            return 0;
        }
        m_ticks.now = due;
        Complete();
        return 1;
    }
    int Close(int) override {
        ++closes;
        killed += inFlight.size(); // usblp_release unlinks the transfer
        inFlight.clear();
        return 0;
    }

    std::uint32_t transferMs = 5;
    bool stalled = false;          // the printer takes nothing: no transfer ever completes
    bool unplugged = false;        // every call fails with ENODEV
    std::function<void()> onStall; // runs in a wait that timed out (a test unplugs, stops, ...)
    std::string delivered;         // the bytes of every completed transfer, in order
    std::string inFlight;
    std::size_t killed = 0; // bytes of transfers killed by a close
    int opens = 0;
    int closes = 0;

private:
    void Complete() {
        if (!inFlight.empty() && !stalled && !unplugged &&
            static_cast<std::uint32_t>(m_ticks.now - m_queuedAt) >= transferMs) {
            delivered += inFlight;
            inFlight.clear();
        }
    }

    fake::FakeTicks& m_ticks;
    std::uint32_t m_queuedAt = 0;
};

} // namespace brimwell::test
