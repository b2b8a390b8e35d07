#pragma once
// The dialog the contract's cases (support/DialogContract.h) and the hosts' own binding tests
// run on, with one control of each class, and what they feed it.
#include "resources/DialogTemplates.h"
#include "text/EditStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace brimwell::test {

// The contract's dialog: one control of each class.
enum : int {
    kStatic = 2001,
    kPicture,
    kHidden,
    kButton,
    kEdit,
    kList,
    kCombo,
    kTrack,
    kRich,
    kBrowse,
    kPreview,
    kProgress,
};

inline constexpr int kContractDialog = 9000;

inline DialogTemplate ContractTemplate() {
    namespace S = CtlStyle;
    DialogTemplate t;
    t.id = kContractDialog;
    t.cx = 300;
    t.cy = 200;
    t.fontFace = "MS Shell Dlg";
    t.pointSize = 8;
    t.caption = "Binding";
    t.controls = {
        {kStatic, CtlClass::Static, "A && B", 5, 5, 100, 8, S::AlignLeft, 0, ""},
        {kPicture, CtlClass::Static, "", 5, 20, 50, 50, S::Bitmap, IDB_BANNER, ""},
        {kHidden, CtlClass::Static, "hidden", 5, 80, 50, 8, S::Hidden, 0, ""},
        {kButton, CtlClass::Button, "Send && Go", 5, 90, 60, 14, S::TabStop, 0, ""},
        {kEdit, CtlClass::Edit, "", 70, 90, 60, 14, S::Border | S::AutoHScroll | S::TabStop, 0, ""},
        {kList, CtlClass::ListBox, "", 5, 110, 60, 40,
         S::Notify | S::NoIntegralHeight | S::VScroll | S::Border, 0, ""},
        {kCombo, CtlClass::ComboBox, "", 70, 110, 60, 80, S::DropDownList | S::VScroll, 0, ""},
        {kTrack, CtlClass::Trackbar, "", 140, 90, 100, 15, S::TrackBoth | S::NoTicks, 0, ""},
        {kRich, CtlClass::RichEdit, "", 140, 110, 100, 40,
         S::Multiline | S::ReadOnly | S::Border | S::VScroll | S::DisableNoScroll, 0, ""},
        {kBrowse, CtlClass::EditBrowse, "", 5, 160, 120, 14, S::Border | S::AutoHScroll, 0, ""},
        {kPreview, CtlClass::LabelPreview, "", 140, 160, 100, 30, 0, 0, ""},
        {kProgress, CtlClass::Progress, "", 140, 192, 100, 6, 0, 0, "Progress"},
    };
    return t;
}

// A stream-in source: hands out `data` in the pieces asked for, or fails with `failWith`.
struct StreamSource {
    std::string data;
    std::size_t pos = 0;
    std::vector<std::int32_t> asked;
    std::uint32_t failWith = 0;

    static std::uint32_t Read(std::uintptr_t cookie, std::uint8_t* buffer, std::int32_t cb,
                              std::int32_t* pcb) {
        auto* source = reinterpret_cast<StreamSource*>(cookie);
        source->asked.push_back(cb);
        if (source->failWith) {
            *pcb = 0;
            return source->failWith;
        }
        const std::size_t n =
            std::min<std::size_t>(static_cast<std::size_t>(cb), source->data.size() - source->pos);
        std::memcpy(buffer, source->data.data() + source->pos, n);
        source->pos += n;
        *pcb = static_cast<std::int32_t>(n);
        return 0;
    }
    EditStream Stream() {
        EditStream es;
        es.dwCookie = reinterpret_cast<std::uintptr_t>(this);
        es.pfnCallback = &StreamSource::Read;
        return es;
    }
};

// A text filter: capitals, and no digits.
inline void UpperNoDigits(std::u16string& text, std::size_t& caret) {
    std::u16string out;
    std::size_t newCaret = caret;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            if (i < caret) {
                --newCaret;
            }
            continue;
        }
        out += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    }
    text = out;
    caret = newCaret;
}

} // namespace brimwell::test
