// The dialog contract (support/DialogContract.h) on the fake host the page tests run on.
#include "hosts/fake/FakeDialog.h"
#include "support/DialogContract.h"

namespace brimwell::test {
namespace {

class FakeHost {
public:
    FakeHost(const DialogTemplate& tmpl, CDialogBase& logic) : m_dialog(tmpl) {
        m_dialog.Create(logic);
    }
    IDialog& Dialog() { return m_dialog; }
    void Show() { m_dialog.Show(true); }
    DlgRect TemplateRect(int x, int y, int cx, int cy) const {
        return fake::TemplateRectInPixels(x, y, cx, cy);
    }
    void Close() { m_dialog.Close(); }
    int EndResult() const { return m_dialog.endResult.value_or(-1); }

    static bool Click(IDialog& dialog, int id) { return Fake(dialog).Click(id); }
    static bool Type(IDialog& dialog, int id, const std::string& text) {
        for (const char c : text) { // one key each (the cases type ASCII only)
            if (!Fake(dialog).Type(id, std::string(1, c))) {
                return false;
            }
        }
        return true;
    }
    static bool Paste(IDialog& dialog, int id, const std::string& text) {
        return Fake(dialog).Type(id, text);
    }
    static bool ChooseNext(IDialog& dialog, int id) {
        return Fake(dialog).Choose(id, dialog.GetCurSel(id) + 1);
    }
    static bool Step(IDialog& dialog, int id, TrackStep step) {
        const fake::FakeDialog::Item* item = Fake(dialog).Find(id);
        if (!item) {
            return false;
        }
        const int pos = item->trackPos;
        switch (step) {
        case TrackStep::Up:
            return Fake(dialog).Scroll(id, pos + 1);
        case TrackStep::Down:
            return Fake(dialog).Scroll(id, pos - 1);
        case TrackStep::PageUp:
            return Fake(dialog).Scroll(id, pos + item->trackPage);
        case TrackStep::PageDown:
            return Fake(dialog).Scroll(id, pos - item->trackPage);
        case TrackStep::ToMin:
            return Fake(dialog).Scroll(id, item->trackMin);
        case TrackStep::ToMax:
            return Fake(dialog).Scroll(id, item->trackMax);
        }
        return false;
    }
    static bool Browse(IDialog& dialog, int id) { return Fake(dialog).Browse(id); }
    static bool FocusByUser(IDialog& dialog, int id) { return Fake(dialog).TakeFocus(id); }

private:
    static fake::FakeDialog& Fake(IDialog& dialog) {
        return static_cast<fake::FakeDialog&>(dialog);
    }

    fake::FakeDialog m_dialog;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, DialogContract, FakeHost);

} // namespace
} // namespace brimwell::test
