#pragma once
// Test doubles of the window services (message box, wait cursor, file dialog): deterministic,
// recording, never blocking.
#include "ui/FileDialog.h"
#include "ui/JobRunner.h"
#include "ui/MessageBox.h"
#include "ui/WaitCursor.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brimwell::fake {

// Answers each box from a queue (Ok when the queue is empty) and records what was asked.
class RecordingMessageBox : public IMessageBox {
public:
    struct Shown {
        std::string text;
        MsgIcon icon;
        MsgButtons buttons;
    };
    MsgResult Show(const std::string& text, MsgIcon icon, MsgButtons buttons) override {
        shown.push_back({text, icon, buttons});
        if (onShow) {
            onShow();
        }
        if (answers.empty()) {
            return MsgResult::Ok;
        }
        const MsgResult r = answers.front();
        answers.pop_front();
        return r;
    }
    std::vector<Shown> shown;
    std::deque<MsgResult> answers;
    std::function<void()> onShow; // runs while the box is "open"
};

class CountingWaitCursor : public IWaitCursor {
public:
    void Begin() override {
        ++depth;
        ++begins;
    }
    void End() override {
        --depth;
        ++ends;
    }
    int depth = 0;
    int begins = 0;
    int ends = 0;
};

class ScriptedFileDialog : public IFileDialog {
public:
    struct Asked {
        std::string initialName, defaultExt, filter;
    };
    std::optional<std::string> GetOpenFileName(const std::string& initialName,
                                               const std::string& defaultExt,
                                               const std::string& filter) override {
        asked.push_back({initialName, defaultExt, filter});
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<Asked> asked;
};

// A job runner a test can hold: with `hold` set, Start keeps the job, so that the test can act
// while it "runs" (press Send again, close the window, press Stop) and then let it end with
// Finish, which runs the work and `done` as a host's worker and event loop would.
class HeldJobRunner : public IJobRunner {
public:
    void Start(std::function<void()> work, std::function<void()> tick,
               std::function<void()> done) override {
        ++starts;
        if (!hold) {
            work();
            done();
            return;
        }
        m_work = std::move(work);
        m_tick = std::move(tick);
        m_done = std::move(done);
    }
    bool Holding() const { return static_cast<bool>(m_done); }
    // The host's periodic call while the job runs.
    void Tick() {
        if (m_tick) {
            m_tick();
        }
    }
    void Finish() {
        auto work = std::move(m_work);
        auto done = std::move(m_done);
        m_tick = nullptr;
        m_work = nullptr;
        m_done = nullptr;
        if (work) {
            work();
        }
        if (done) {
            done();
        }
    }
    bool hold = true;
    int starts = 0;

private:
    std::function<void()> m_work, m_tick, m_done;
};

// Counts what a job held: the session must not end under a job.
class CountingSessionGuard : public ISessionGuard {
public:
    void Hold(const std::string& r) override {
        ++held;
        reason = r;
    }
    void Release() override { --held; }
    int held = 0;
    std::string reason;
};

} // namespace brimwell::fake
