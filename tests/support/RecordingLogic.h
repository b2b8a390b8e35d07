#pragma once
// A dialog logic for host tests: records what its dialog tells it.
#include "ui/DialogBase.h"

#include <functional>
#include <vector>

namespace brimwell::test {

struct Heard {
    enum Kind { Command, HScroll, Close } kind;
    int id;
    Notify code;
    int pos;
    bool operator==(const Heard& o) const {
        return kind == o.kind && id == o.id && (kind != Command || code == o.code) &&
               (kind != HScroll || pos == o.pos);
    }
};

inline Heard Cmd(int id, Notify code) {
    return {Heard::Command, id, code, 0};
}
inline Heard Scroll(int id, int pos) {
    return {Heard::HScroll, id, Notify::Clicked, pos};
}

class RecordingLogic : public CDialogBase {
public:
    explicit RecordingLogic(int id = 0) : CDialogBase(id) {}
    bool OnInitDialog() override {
        ++inits;
        if (onInit) {
            onInit();
        }
        return true;
    }
    void OnCommand(int id, Notify code) override { heard.push_back(Cmd(id, code)); }
    void OnHScroll(int id, int pos) override { heard.push_back(Scroll(id, pos)); }
    void OnSysCommandClose() override {
        heard.push_back({Heard::Close, 0, Notify::Clicked, 0});
        if (onClose) {
            onClose();
        }
    }
    int inits = 0;
    std::vector<Heard> heard;
    std::function<void()> onInit;
    std::function<void()> onClose;
};

} // namespace brimwell::test
