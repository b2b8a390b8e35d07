// A job on the Win32 host: the runner's worker, ticks and end on the window's thread, the
// session guard, and the main window's answer to the session's end.
#include "hosts/win32/WinDialog.h"
#include "hosts/win32/WinJobRunner.h"
#include "hosts/win32/WinSessionGuard.h"
#include "win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <stdexcept>
#include <vector>

namespace brimwell::test {
namespace {

// A manual-reset event that a test sets to let held work end.
class Gate {
public:
    Gate() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Gate() { CloseHandle(m_event); }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;
    void Open() { SetEvent(m_event); }
    // Bounded, so that a broken runner fails the test instead of hanging it.
    bool Wait() { return WaitForSingleObject(m_event, 30000) == WAIT_OBJECT_0; }

private:
    HANDLE m_event;
};

TEST(WinJobRunner, ReturnsAtOnceTicksOnTheWindowsThreadAndEndsThereOnce) {
    WinJobRunner runner;
    const DWORD windowThread = GetCurrentThreadId();
    Gate gate;
    std::atomic<DWORD> workThread{0};
    std::atomic<bool> workEnded{false};
    std::vector<DWORD> tickThreads;
    int dones = 0;
    DWORD doneThread = 0;
    bool endedBeforeDone = false;
    runner.Start(
        [&] {
            workThread = GetCurrentThreadId();
            gate.Wait();
            workEnded = true;
        },
        [&] { tickThreads.push_back(GetCurrentThreadId()); },
        [&] {
            ++dones;
            doneThread = GetCurrentThreadId();
            endedBeforeDone = workEnded;
        });
    // Back while the work is held, and the thread's messages go on: the ticks come.
    EXPECT_FALSE(workEnded);
    EXPECT_EQ(dones, 0);
    EXPECT_EQ(runner.Running(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return tickThreads.size() >= 3; }));
    EXPECT_EQ(dones, 0);
    gate.Open();
    ASSERT_TRUE(PumpUntil([&] { return dones > 0; }));
    EXPECT_TRUE(endedBeforeDone);
    EXPECT_NE(workThread, windowThread);
    EXPECT_EQ(doneThread, windowThread);
    for (const DWORD thread : tickThreads) {
        EXPECT_EQ(thread, windowThread);
    }
    // Once, and no tick after it.
    const std::size_t ticks = tickThreads.size();
    PumpMessages(5 * JOB_TICK_MS);
    EXPECT_EQ(dones, 1);
    EXPECT_EQ(tickThreads.size(), ticks);
    EXPECT_EQ(runner.Running(), 0u);
}

TEST(WinJobRunner, TheWorksHoldingsAreLetGoBeforeDoneWhetherItEndsOrThrows) {
    for (const bool throws : {false, true}) {
        SCOPED_TRACE(throws);
        WinJobRunner runner;
        // Stands for the device handle the work holds: closed before the logic reads the end.
        auto device = std::make_shared<int>(0);
        long holdersAtDone = -1;
        int dones = 0;
        runner.Start(
            [held = device, throws] {
                if (throws) {
                    throw std::runtime_error("device gone");
                }
            },
            nullptr,
            [&] {
                ++dones;
                holdersAtDone = device.use_count();
            });
        ASSERT_TRUE(PumpUntil([&] { return dones > 0; }));
        EXPECT_EQ(holdersAtDone, 1);
        PumpMessages(2 * JOB_TICK_MS);
        EXPECT_EQ(dones, 1);
    }
}

TEST(WinJobRunner, ATickThatRunsAMessageLoopIsNotEnteredAgainAndItsJobMayEndMeanwhile) {
    // A tick that shows a box: the box's loop dispatches the runner's messages.
    WinJobRunner runner;
    Gate gate;
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    bool done = false;
    runner.Start([&] { gate.Wait(); },
                 [&] {
                     deepest = std::max(deepest, ++depth);
                     if (++ticks == 1) {
                         PumpMessages(3 * JOB_TICK_MS); // the job's timer goes on meanwhile
                         gate.Open();
                         PumpUntil([&] { return done; });
                     }
                     --depth;
                 },
                 [&] { done = true; });
    ASSERT_TRUE(PumpUntil([&] { return done && depth == 0; }));
    PumpMessages(3 * JOB_TICK_MS);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(runner.Running(), 0u);
}

// The execution state the system keeps for the program, read without changing it.
EXECUTION_STATE ExecutionState() {
    const EXECUTION_STATE was = SetThreadExecutionState(ES_CONTINUOUS);
    SetThreadExecutionState(was);
    return was;
}

TEST(WinSessionGuard, KeepsTheSystemUpFromHoldUntilRelease) {
    {
        WinSessionGuard guard;
        guard.Hold("Sending the logo");
        guard.Hold("Sending the firmware");
        EXPECT_NE(ExecutionState() & ES_SYSTEM_REQUIRED, 0u);
        guard.Release();
        EXPECT_EQ(ExecutionState() & ES_SYSTEM_REQUIRED, 0u);
        guard.Hold("Sending the logo");
        EXPECT_NE(ExecutionState() & ES_SYSTEM_REQUIRED, 0u);
    }
    // Destroyed while held: it lets go all the same.
    EXPECT_EQ(ExecutionState() & ES_SYSTEM_REQUIRED, 0u);
}

class EndSessionLogic : public RecordingLogic {
public:
    explicit EndSessionLogic(bool allow) : RecordingLogic(IDD_SET_DENSITY), m_allow(allow) {}
    bool OnQueryEndSession() override {
        ++asked;
        return m_allow;
    }
    int asked = 0;

private:
    bool m_allow;
};

TEST(WinDialogSession, TheMainWindowAnswersTheSessionsEndAsItsLogicSays) {
    for (const bool allow : {true, false}) {
        SCOPED_TRACE(allow);
        EndSessionLogic logic(allow);
        WinDialog dialog(*FindDialogTemplate(IDD_SET_DENSITY), true);
        ASSERT_TRUE(dialog.Create(logic, nullptr));
        EXPECT_EQ(SendMessageW(dialog.Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF),
                  allow ? TRUE : FALSE);
        EXPECT_EQ(logic.asked, 1);
    }
}

} // namespace
} // namespace brimwell::test
