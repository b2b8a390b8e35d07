#pragma once
// A job runner with a real worker thread and a "window thread" that is the test's own: the work
// runs on the worker while the test turns the loop (RunUntilDone), which calls the tick and
// finally `done` on the test's thread, as a host's event loop would. For the tests that show a
// job's threads sharing nothing unsafely (they run under ThreadSanitizer in CI).
#include "ui/JobRunner.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace brimwell::test {

class ThreadedJobRunner : public IJobRunner {
public:
    ~ThreadedJobRunner() override {
        if (m_worker.joinable()) {
            m_worker.join();
        }
    }
    void Start(std::function<void()> work, std::function<void()> tick,
               std::function<void()> done) override {
        m_tick = std::move(tick);
        m_done = std::move(done);
        m_finished = false;
        m_worker = std::thread([this, work = std::move(work)] {
            work();
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_finished = true;
            m_ended.notify_all();
        });
    }
    // Turns the loop until the work has ended: `eachTurn` and the tick run between waits of
    // JOB_TICK_MS at most; then the worker is joined and `done` runs here.
    void RunUntilDone(const std::function<void()>& eachTurn = {}) {
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                if (m_ended.wait_for(lock, std::chrono::milliseconds(JOB_TICK_MS),
                                     [this] { return m_finished; })) {
                    break;
                }
            }
            if (m_tick) {
                m_tick();
            }
            if (eachTurn) {
                eachTurn();
            }
        }
        m_worker.join();
        auto done = std::move(m_done);
        m_done = nullptr;
        done();
    }

private:
    std::thread m_worker;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_finished = false;
    std::function<void()> m_tick, m_done;
};

} // namespace brimwell::test
