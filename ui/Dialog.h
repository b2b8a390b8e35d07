#pragma once
// The dialog interface: what the window logic (the main window and every page) asks of the
// window it runs in. Controls are addressed by their template id, as a dialog addresses them;
// the host (Qt on Linux, Win32 on Windows, a recording fake in tests) builds the controls from
// the dialog templates and turns its toolkit's signals into the logic's notifications. No
// toolkit type appears here.
#include "resources/DialogTemplates.h"
#include "resources/DialogUnits.h" // DlgRect
#include "text/EditStream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brimwell {

class CDialogBase;
class ILabelPreviewCtrl; // logo/LabelPreviewCtrl.h: the label preview of a logo page

struct DlgSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const DlgSize& o) const { return cx == o.cx && cy == o.cy; }
};

// What a control tells its dialog's logic.
enum class Notify {
    Clicked,     // a push button was pressed
    EditChanged, // an edit's text changed, by the user or by the program
    SelChange,   // the user selected an entry of a list box or a combo box
};

// Runs on an edit's text (UTF-16) after every change the user makes, with the caret at
// `caret`; may change both.
using TextFilter = void (*)(std::u16string& text, std::size_t& caret);

// The read-only rich-text view: takes its document from a read callback.
class IRichTextCtrl {
public:
    // Replaces the content with the document the callback hands over, as STREAM_FORMAT_RTF or
    // STREAM_FORMAT_TEXT; asks for pieces of at most RICHTEXT_STREAM_PIECE bytes until the callback
    // hands over 0 bytes or fails, or RICHTEXT_MAX_STREAM bytes have arrived. Returns the bytes
    // read.
    virtual std::int32_t StreamIn(int nFormat, EditStream& es) = 0;

protected:
    ~IRichTextCtrl() = default;
};

// The button of a file-browse edit (the edit's text is read and written as any other item's).
class IBrowseEditCtrl {
public:
    // Enables the browse button and has it call `onBrowse` when pressed (none: disabled).
    virtual void SetBrowseHandler(std::function<void()> onBrowse) = 0;
    // What a screen reader calls the button (it shows only "...").
    virtual void SetBrowseName(const std::string& name) = 0;

protected:
    ~IBrowseEditCtrl() = default;
};

class IDialog {
public:
    // --- any control -----------------------------------------------------------------------
    // False for IDC_STATIC and for an id the template lacks (a damaged template); every other
    // call on such an id does nothing and reads as empty, 0, false or -1.
    virtual bool HasItem(int id) const = 0;
    virtual std::string ItemText(int id) const = 0; // UTF-8
    // An edit whose text this changes notifies EditChanged; setting the same text does not.
    virtual void SetItemText(int id, const std::string& text) = 0;
    virtual void EnableItem(int id, bool enable) = 0;
    virtual bool IsItemEnabled(int id) const = 0;
    virtual void ShowItem(int id, bool show) = 0;
    // The control's own visibility flag (not whether its dialog is shown).
    virtual bool IsItemShown(int id) const = 0;
    // Gives the control keyboard focus; a control that is disabled or hidden passes it to the
    // next control after it in tab order that can take it.
    virtual void FocusItem(int id) = 0;
    // The control of this dialog that has keyboard focus, or 0 when none of them has.
    virtual int FocusedItem() const = 0;
    virtual DlgRect ItemRect(int id) const = 0;
    virtual void MoveItem(int id, const DlgRect& rect) = 0;

    // --- edits -------------------------------------------------------------------------------
    virtual void LimitText(int id, int nMaxChars) = 0;
    virtual void SetTextFilter(int id, TextFilter filter) = 0;

    // --- check boxes and radio buttons -----------------------------------------------------
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;

    // --- list boxes and combo boxes ------------------------------------------------------------
    virtual void ResetContent(int id) = 0;
    // Appends an entry (the lists are never sorted); its index, or -1.
    virtual int AddString(int id, const std::string& text) = 0;
    virtual int GetCount(int id) const = 0;
    virtual std::string GetString(int id, int index) const = 0;
    virtual void SetItemData(int id, int index, std::uintptr_t data) = 0;
    virtual std::uintptr_t GetItemData(int id, int index) const = 0; // 0 when none
    // Selects entry `index` (-1: none) without a SelChange notification.
    virtual void SetCurSel(int id, int index) = 0;
    virtual int GetCurSel(int id) const = 0; // -1: none
    // Stops (false) and resumes (true) redrawing the control while it is refilled.
    virtual void SetRedraw(int id, bool redraw) = 0;

    // --- trackbars ---------------------------------------------------------------------------
    virtual void SetTrackRange(int id, int nMin, int nMax) = 0;
    virtual void SetTrackPageSize(int id, int nPage) = 0;
    // Moves the thumb without a scroll notification.
    virtual void SetTrackPos(int id, int nPos) = 0;
    virtual int GetTrackPos(int id) const = 0;

    // --- progress bars ---------------------------------------------------------------------
    // Shows `pos` of PROGRESS_MAX (kept inside 0 to PROGRESS_MAX).
    virtual void SetProgress(int id, int pos) = 0;
    virtual int GetProgress(int id) const = 0;

    // --- what a screen reader is told beyond the visible texts -------------------------------
    // The control's accessible name (its visible text stays as it is).
    virtual void SetItemAccessibleName(int id, const std::string& name) = 0;
    // What the control shows, for a control whose content is a picture (the label preview).
    virtual void SetItemAccessibleDescription(int id, const std::string& description) = 0;

    // --- custom controls (nullptr when the id is not a control of that kind) ------------------
    virtual ILabelPreviewCtrl* LabelPreview(int id) = 0;
    virtual IRichTextCtrl* RichText(int id) = 0;
    virtual IBrowseEditCtrl* BrowseEdit(int id) = 0;

    // --- the dialog window itself ----------------------------------------------------------
    virtual DlgSize ClientSize() const = 0;
    virtual void ResizeClient(const DlgSize& size) = 0;
    // A child dialog's position in its parent's client area, in pixels.
    virtual void MoveTo(int x, int y) = 0;
    virtual void Show(bool show) = 0;
    virtual bool IsShown() const = 0;
    virtual void SetIcon(int nIconId) = 0;
    // Ends the modal run of a top-level dialog with `result`.
    virtual void EndDialog(int result) = 0;

    // Creates a hidden child dialog from `tmpl` whose notifications go to `logic`, attaches it
    // and runs logic.OnInitDialog. nullptr when it cannot be created. The child lives as long
    // as this dialog.
    virtual IDialog* CreateChild(const DialogTemplate& tmpl, CDialogBase& logic) = 0;
    // What a child made from `tmpl` now would measure before its logic runs, without making
    // it: its client size (grown where this host grows a dialog round its pictures) and the
    // rectangle of its control `id` (empty when the template lacks it), in this dialog's
    // pixels.
    virtual DlgSize ChildClientSize(const DialogTemplate& tmpl) const = 0;
    virtual DlgRect ChildItemRect(const DialogTemplate& tmpl, int id) const = 0;

    // The logic is going away: nothing more is delivered to it.
    virtual void Detach() = 0;

protected:
    ~IDialog() = default;
};

// Results of a modal run (the values of the platform's IDOK and IDCANCEL).
inline constexpr int DLG_RESULT_OK = 1;
inline constexpr int DLG_RESULT_CANCEL = 2;

// The application icon's resource id.
inline constexpr int IDR_MAINFRAME = 128;

} // namespace brimwell
