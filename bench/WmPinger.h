#pragma once
// Pings a top-level window the way a window manager does (_NET_WM_PING, every `periodMs`) from
// a thread with its own X connection, and notes the longest time a ping went unanswered: how
// long the window would have looked hung to the desktop. Only for the benchmarks. (Xlib's
// macros stay in WmPinger.cpp, away from Qt's headers.)
#include <atomic>
#include <thread>

namespace brimwell::bench {

class WmPinger {
public:
    explicit WmPinger(unsigned long window, int periodMs = 10);
    ~WmPinger();
    WmPinger(const WmPinger&) = delete;
    WmPinger& operator=(const WmPinger&) = delete;

    void Stop();
    // The longest wait for an answer, in milliseconds, and how many pings were answered.
    long LongestMs() const { return m_longestMs; }
    long Answered() const { return m_answered; }
    bool Connected() const { return m_connected; }

private:
    void Run();

    unsigned long m_window;
    int m_periodMs;
    std::atomic<bool> m_stop{false};
    std::atomic<long> m_longestMs{0};
    std::atomic<long> m_answered{0};
    std::atomic<bool> m_connected{false};
    std::thread m_thread;
};

} // namespace brimwell::bench
