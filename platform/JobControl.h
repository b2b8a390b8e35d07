#pragma once
#include <atomic>
#include <cstdint>

namespace brimwell {

// What the window's thread and a job's device work share while the job runs: how many bytes
// the device has taken so far, and the request to stop. RequestStop may be called from any
// thread; a device writer waiting for its device wakes at once (on Linux the descriptor of
// StopFd is in its poll set, on Windows the event of StopEvent in its wait), ends the write
// and reports the job stopped.
class JobControl {
public:
    JobControl();
    ~JobControl();
    JobControl(const JobControl&) = delete;
    JobControl& operator=(const JobControl&) = delete;

    void RequestStop();
    bool StopRequested() const { return m_stop.load(std::memory_order_acquire); }

    // The bytes of the job the device has taken, and the job's length.
    void SetTaken(std::uint32_t taken) { m_taken.store(taken, std::memory_order_relaxed); }
    std::uint32_t Taken() const { return m_taken.load(std::memory_order_relaxed); }
    void SetLength(std::uint32_t length) { m_length.store(length, std::memory_order_relaxed); }
    std::uint32_t Length() const { return m_length.load(std::memory_order_relaxed); }

    // Linux: a descriptor that becomes readable once a stop is requested (-1 when none could
    // be made: the stop is then seen at the writer's next look, within one poll's wait).
    int StopFd() const { return m_fd; }
    // Windows: a manual-reset event set once a stop is requested (nullptr when none).
    void* StopEvent() const { return m_event; }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<std::uint32_t> m_taken{0};
    std::atomic<std::uint32_t> m_length{0};
    int m_fd = -1;
    void* m_event = nullptr;
};

} // namespace brimwell
