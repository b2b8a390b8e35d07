#pragma once
// The rich-text view: a read-only RichEdit 2.0 control whose addresses open when clicked
// (WinLinks), made only when its dialog is first shown.
#include "ui/Dialog.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace brimwell {

// The read-only rich-text view over a RichEdit 2.0 control; its addresses open when clicked.
// Until its dialog is first shown it is a stand-in (an empty static, from the template): a
// document streamed in meanwhile is read whole from the callback, as the control would read
// it, and kept; Realize makes the RichEdit in the stand-in's place and shows it the document.
class WinRichTextView final : public IRichTextCtrl {
public:
    // `hwnd` is the stand-in; `style` the RichEdit's (RichEditStyle).
    WinRichTextView(HWND hwnd, std::uint32_t style) : m_hwnd(hwnd), m_style(style) {}
    std::int32_t StreamIn(int nFormat, EditStream& es) override;

    // Makes the RichEdit, once; false when it cannot be made (the stand-in stays).
    bool Realize();
    bool Realized() const { return m_realized; }
    // The RichEdit, or the stand-in until it is made.
    HWND Hwnd() const { return m_hwnd; }

    // Makes the control refuse typing, pasting and dropping, whatever its style says, and
    // report clicks on links (EN_LINK) to its dialog.
    static void MakeReadOnly(HWND hwnd);

private:
    std::int32_t StreamInto(HWND edit, int nFormat, EditStream& es);

    HWND m_hwnd;
    std::uint32_t m_style;
    bool m_realized = false;
    bool m_pending = false;
    int m_pendingFormat = 0;
    std::string m_document;
};

} // namespace brimwell
