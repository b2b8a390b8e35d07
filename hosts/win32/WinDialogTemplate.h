#pragma once
// The shared dialog templates as Win32 in-memory templates (DLGTEMPLATEEX), so that the dialog
// manager creates the native controls and measures everything in the dialog font's own units.
#include "resources/DialogTemplates.h"

#include <cstdint>
#include <vector>

namespace brimwell {

// Window classes of the controls the Win32 host creates itself.
inline constexpr const wchar_t* kLabelPreviewClass = L"BrimwellLabelPreview";
inline constexpr const wchar_t* kRichEditClass = L"RichEdit20W";
inline constexpr const wchar_t* kTrackbarClass = L"msctls_trackbar32";
inline constexpr const wchar_t* kProgressClass = L"msctls_progress32";

// The browse button of a file-browse edit is a push button beside the edit, with this id.
inline constexpr int kBrowseButtonOffset = 0x4000;
inline int BrowseButtonId(int editId) {
    return editId + kBrowseButtonOffset;
}
// Its width, in dialog units.
inline constexpr int kBrowseButtonWidth = 16;

enum class DialogKind {
    TopLevel, // the main window: caption, system menu, minimise box
    Child,    // a page: a borderless child (DS_CONTROL) inside the main window
};

// The template as DLGTEMPLATEEX followed by its DLGITEMTEMPLATEEX entries, as 16-bit words
// (the storage of a vector keeps the DWORD alignment the dialog manager needs).
// A rich-text view stands in the template as an empty static of the same id and place; the
// host makes the RichEdit itself when its dialog is first shown (WinRichTextView), so that a page
// nobody looks at costs no RichEdit (nor, until one is shown, the RichEdit DLL).
std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& tmpl, DialogKind kind);

// The window style of the RichEdit for a rich-text template control.
std::uint32_t RichEditStyle(const ControlTemplate& c);

} // namespace brimwell
