#pragma once
// Test doubles of the window services (message box, wait cursor, file dialog): deterministic,
// recording, never blocking.
#include "ui/FileDialog.h"
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

} // namespace brimwell::fake
