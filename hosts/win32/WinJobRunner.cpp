#include "hosts/win32/WinJobRunner.h"

#include "platform/windows/WinModule.h"

#include <memory>
#include <utility>

namespace brimwell {
namespace {

constexpr wchar_t kRunnerClass[] = L"BrimwellJobRunner";
// Posted by a job's work at its end; wParam is the job's id.
constexpr UINT kJobDoneMessage = WM_APP + 1;
// How long a worker waits before posting its end again to a queue that is full.
constexpr DWORD kFullQueueRetryMs = 10;

// What a worker takes with it: the work, and where to tell of its end.
struct WorkerCall {
    std::function<void()> work;
    HWND window;
    UINT_PTR id;
};

// Runs `work`, letting nothing escape it: a job whose work threw still ends with its done,
// which finds the outcome the work never wrote.
void RunGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
    }
}

VOID CALLBACK RunWork(PTP_CALLBACK_INSTANCE instance, PVOID parameter) {
    // A job holds its worker for as long as the device takes: the pool is told, so that it
    // does not wait for this thread before it runs anything else.
    CallbackMayRunLong(instance);
    const std::unique_ptr<WorkerCall> call(static_cast<WorkerCall*>(parameter));
    RunGuarded(call->work);
    // What the work holds (a device handle, say) is released here, before done runs.
    call->work = nullptr;
    // The end is told by the work itself, from here: nothing waits for this thread to end.
    // A full queue is tried again until the window's thread has read some of it; a window
    // that is gone (the runner was destroyed) hears nothing.
    while (!PostMessageW(call->window, kJobDoneMessage, call->id, 0)) {
        if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA || !IsWindow(call->window)) {
            break;
        }
        Sleep(kFullQueueRetryMs);
    }
}

} // namespace

WinJobRunner::~WinJobRunner() {
    if (m_hwnd) {
        for (const auto& job : m_jobs) {
            KillTimer(m_hwnd, job.first);
        }
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
        m_hwnd = nullptr;
    }
}

bool WinJobRunner::MakeWindow() {
    if (m_hwnd) {
        return true;
    }
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &WinJobRunner::WindowProc;
        wc.hInstance = ThisModule();
        wc.lpszClassName = kRunnerClass;
        return RegisterClassExW(&wc);
    }();
    if (!atom) {
        return false;
    }
    m_hwnd = CreateWindowExW(0, kRunnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ThisModule(), this);
    return m_hwnd != nullptr;
}

void WinJobRunner::Start(std::function<void()> work, std::function<void()> tick,
                         std::function<void()> done) {
    if (MakeWindow()) {
        const UINT_PTR id = ++m_lastId;
        auto call = std::make_unique<WorkerCall>(WorkerCall{std::move(work), m_hwnd, id});
        m_jobs[id] = Job{std::move(tick), std::move(done)};
        SetTimer(m_hwnd, id, JOB_TICK_MS, nullptr);
        if (TrySubmitThreadpoolCallback(&RunWork, call.get(), nullptr)) {
            call.release(); // the worker's now
            return;
        }
        KillTimer(m_hwnd, id);
        work = std::move(call->work);
        done = std::move(m_jobs[id].done);
        m_jobs.erase(id);
    }
    // No worker to be had: the job runs here, the window waiting for it, and ends as usual.
    RunGuarded(work);
    work = nullptr;
    if (done) {
        done();
    }
}

void WinJobRunner::OnTick(UINT_PTR id) {
    auto found = m_jobs.find(id);
    if (found == m_jobs.end() || found->second.ticking || !found->second.tick) {
        return; // a late timer message of a job that has ended, or a tick still running
    }
    found->second.ticking = true;
    // A copy: should the tick run a message loop (a modal box), the job's done may come and
    // remove the job meanwhile.
    const std::function<void()> tick = found->second.tick;
    tick();
    found = m_jobs.find(id);
    if (found != m_jobs.end()) {
        found->second.ticking = false;
    }
}

void WinJobRunner::OnDone(UINT_PTR id) {
    const auto found = m_jobs.find(id);
    if (found == m_jobs.end()) {
        return;
    }
    KillTimer(m_hwnd, id);
    // The job is gone before its done runs: a done that starts the next job, or shows a box
    // whose loop dispatches this window's messages, finds the runner in order.
    const std::function<void()> done = std::move(found->second.done);
    m_jobs.erase(found);
    if (done) {
        done();
    }
}

LRESULT CALLBACK WinJobRunner::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    auto* self = reinterpret_cast<WinJobRunner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_TIMER:
        self->OnTick(wParam);
        return 0;
    case kJobDoneMessage:
        self->OnDone(wParam);
        return 0;
    case WM_CLOSE:
        return 0; // only the runner ends its window: a running job's end would go unheard
    case WM_NCDESTROY:
        self->m_hwnd = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace brimwell
