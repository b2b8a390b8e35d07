#include "hosts/qt/QtJobRunner.h"

#include <QMetaObject>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

namespace brimwell {
namespace {

std::thread StartStdThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

// A fault of the program, not of the job: the runner is used in a way it cannot keep.
[[noreturn]] void Misuse(const char* what) {
    std::fprintf(stderr, "brimwell: job runner: %s\n", what);
    std::abort();
}

// An exception out of the work is a fault of the program: the work catches what the device and
// the files throw and leaves it as the job's outcome for `done`. It cannot be thrown on: this
// runs from Qt's event loop, and an exception through Qt's frames is undefined behaviour (at
// best it ends the program far from its cause). Nor is `done` called: it would report the
// outcome of a job whose work never finished, maybe as a success in a message box. So the
// program stops here, with the exception's message on stderr and a core that shows the state.
[[noreturn]] void AbandonAfter(const std::exception_ptr& failure) {
    std::string what = "an exception that is no std::exception";
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    std::fprintf(stderr, "brimwell: a printer job's work ended with an exception: %s\n",
                 what.c_str());
    std::abort();
}

std::exception_ptr RunCatching(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

} // namespace

QtJobRunner::QtJobRunner() : QtJobRunner(StartStdThread) {}

QtJobRunner::QtJobRunner(ThreadStarter startThread) : m_startThread(std::move(startThread)) {
    m_ticker.setInterval(JOB_TICK_MS);
    QObject::connect(&m_ticker, &QTimer::timeout, &m_receiver, [this] {
        // A copy: the tick may turn an event loop of its own (a message box), in which the
        // job's Finish clears m_tick.
        const std::function<void()> tick = m_tick;
        if (tick) {
            tick();
        }
    });
}

QtJobRunner::~QtJobRunner() {
    // The work may use whatever its owner holds: no worker outlives the runner. Its queued
    // Finish, if already posted, goes with m_receiver.
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void QtJobRunner::Start(std::function<void()> work, std::function<void()> tick,
                        std::function<void()> done) {
    if (QThread::currentThread() != m_receiver.thread()) {
        Misuse("a job is started off the window's thread");
    }
    if (m_running) {
        Misuse("a job is started while another runs");
    }
    m_running = true;
    m_work = std::move(work);
    m_tick = std::move(tick);
    m_done = std::move(done);
    try {
        m_worker = m_startThread([this] { RunWork(); });
    } catch (const std::system_error&) {
        // No thread to be had (the process is out of threads or memory): the work runs here,
        // on the window's thread, and `done` after it, as the inline runner does. The window
        // stays as it is, only unanswering until the work ends.
        m_failure = RunCatching(m_work);
        Finish();
        return;
    }
    m_ticker.start();
}

void QtJobRunner::RunWork() {
    m_failure = RunCatching(m_work);
    // Queued to the window's thread: Finish runs from its event loop, never from this thread.
    QMetaObject::invokeMethod(
        &m_receiver, [this] { Finish(); }, Qt::QueuedConnection);
}

void QtJobRunner::Finish() {
    // The worker has posted this call as its last act: the join waits for it to return only.
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_ticker.stop();
    if (m_failure) {
        AbandonAfter(m_failure);
    }
    // The job is over before `done` runs, which may start the next one.
    std::function<void()> done = std::move(m_done);
    m_work = nullptr;
    m_tick = nullptr;
    m_done = nullptr;
    m_running = false;
    if (done) {
        done();
    }
}

} // namespace brimwell
