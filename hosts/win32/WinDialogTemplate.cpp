#include "hosts/win32/WinDialogTemplate.h"

#include "platform/windows/WinText.h"

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <utility>

namespace brimwell {
namespace {

// Atoms of the predefined control classes in a dialog item template.
constexpr std::uint16_t kAtomButton = 0x0080;
constexpr std::uint16_t kAtomEdit = 0x0081;
constexpr std::uint16_t kAtomStatic = 0x0082;
constexpr std::uint16_t kAtomListBox = 0x0083;
constexpr std::uint16_t kAtomComboBox = 0x0085;

class TemplateWriter {
public:
    std::vector<std::uint16_t>& Words() { return m_words; }
    void Word(std::uint32_t value) { m_words.push_back(static_cast<std::uint16_t>(value)); }
    void Dword(std::uint32_t value) {
        Word(value & 0xFFFF);
        Word(value >> 16);
    }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void String(const std::wstring& text) {
        for (const wchar_t c : text) {
            Word(static_cast<std::uint16_t>(c));
        }
        Word(0);
    }
    void Ordinal(std::uint16_t atom) {
        Word(0xFFFF);
        Word(atom);
    }
    void AlignDword() {
        if (m_words.size() % 2 != 0) {
            Word(0);
        }
    }

private:
    std::vector<std::uint16_t> m_words;
};

struct Item {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::uint16_t atom = 0; // predefined class, or 0 for a class name
    const wchar_t* className = L"";
    std::wstring text;
};

std::uint32_t CommonStyle(const ControlTemplate& c) {
    std::uint32_t style = WS_CHILD;
    if (!(c.style & CtlStyle::Hidden)) {
        style |= WS_VISIBLE;
    }
    if (c.style & CtlStyle::TabStop) {
        style |= WS_TABSTOP;
    }
    if (c.style & CtlStyle::Border) {
        style |= WS_BORDER;
    }
    if (c.style & CtlStyle::VScroll) {
        style |= WS_VSCROLL;
    }
    if (c.style & CtlStyle::HScroll) {
        style |= WS_HSCROLL;
    }
    return style;
}

std::uint32_t StaticStyle(const ControlTemplate& c) {
    using namespace CtlStyle;
    if (c.style & EtchedVertical) {
        return SS_ETCHEDVERT;
    }
    if (c.style & Bitmap) {
        // The picture is set once the control exists (as a DIB section); until then, none.
        return SS_BITMAP | ((c.style & RealSizeImage) ? SS_REALSIZEIMAGE : 0);
    }
    if (c.style & AlignCenter) {
        return SS_CENTER;
    }
    if (c.style & AlignRight) {
        return SS_RIGHT;
    }
    return SS_LEFT;
}

// The items of one template control (a browse edit makes two).
void AddItems(const ControlTemplate& c, std::vector<Item>& items) {
    using namespace CtlStyle;
    Item item;
    item.style = CommonStyle(c);
    item.x = c.x;
    item.y = c.y;
    item.cx = c.cx;
    item.cy = c.cy;
    item.id = c.id;
    item.text = WideFromUtf8(c.text);
    switch (c.cls) {
    case CtlClass::Static:
        item.atom = kAtomStatic;
        item.style |= StaticStyle(c);
        if (c.style & (Bitmap | EtchedVertical)) {
            item.text.clear();
        }
        break;
    case CtlClass::Button:
        item.atom = kAtomButton;
        item.style |= BS_PUSHBUTTON;
        break;
    case CtlClass::Edit:
    case CtlClass::EditBrowse:
        item.atom = kAtomEdit;
        item.style |= ES_LEFT;
        if (c.style & AutoHScroll) {
            item.style |= ES_AUTOHSCROLL;
        }
        if (c.style & ReadOnly) {
            item.style |= ES_READONLY;
        }
        if (c.cls == CtlClass::EditBrowse) {
            const int button = kBrowseButtonWidth < c.cx ? kBrowseButtonWidth : c.cx / 2;
            item.cx = c.cx - button;
            Item browse;
            // Disabled until the page gives it a handler; then the next tab stop after its
            // edit (it follows the edit in the template), pressed with Space as any button.
            browse.style =
                (item.style & WS_VISIBLE) | WS_CHILD | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON;
            browse.x = c.x + item.cx;
            browse.y = c.y;
            browse.cx = button;
            browse.cy = c.cy;
            browse.id = BrowseButtonId(c.id);
            browse.atom = kAtomButton;
            browse.text = L"...";
            items.push_back(item);
            items.push_back(browse);
            return;
        }
        break;
    case CtlClass::ListBox:
        item.atom = kAtomListBox;
        if (c.style & Notify) {
            item.style |= LBS_NOTIFY;
        }
        if (c.style & NoIntegralHeight) {
            item.style |= LBS_NOINTEGRALHEIGHT;
        }
        item.text.clear();
        break;
    case CtlClass::ComboBox:
        // The template height is that of the dropped-down list, as Win32 reads it.
        item.atom = kAtomComboBox;
        item.style |= CBS_DROPDOWNLIST | CBS_HASSTRINGS;
        item.text.clear();
        break;
    case CtlClass::Trackbar:
        item.className = kTrackbarClass;
        item.style |= TBS_HORZ;
        if (c.style & TrackBoth) {
            item.style |= TBS_BOTH;
        }
        if (c.style & NoTicks) {
            item.style |= TBS_NOTICKS;
        }
        item.text.clear();
        break;
    case CtlClass::RichEdit:
        // The stand-in: hidden or shown, enabled or not and placed as the control will be.
        item.atom = kAtomStatic;
        item.style = (CommonStyle(c) & WS_VISIBLE) | WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT;
        item.text.clear();
        break;
    case CtlClass::LabelPreview:
        item.className = kLabelPreviewClass;
        item.text.clear();
        break;
    case CtlClass::Progress:
        // Its range, 0 to PROGRESS_MAX, is set once it exists (the template cannot carry it).
        item.className = kProgressClass;
        item.text.clear();
        break;
    }
    items.push_back(item);
}

} // namespace

std::uint32_t RichEditStyle(const ControlTemplate& c) {
    using namespace CtlStyle;
    // Clipped by its siblings: a picture may stand over it (the about page's banner).
    std::uint32_t style = CommonStyle(c) | WS_CLIPSIBLINGS;
    if (c.style & Multiline) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL;
    }
    if (c.style & ReadOnly) {
        style |= ES_READONLY;
    }
    if (c.style & DisableNoScroll) {
        style |= ES_DISABLENOSCROLL;
    }
    return style;
}

std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& tmpl, DialogKind kind) {
    std::vector<Item> items;
    for (const ControlTemplate& c : tmpl.controls) {
        AddItems(c, items);
    }

    const std::wstring face = WideFromUtf8(tmpl.fontFace.empty() ? "MS Shell Dlg" : tmpl.fontFace);
    // "MS Shell Dlg" with DS_SHELLFONT is the platform's dialog font (Tahoma, Segoe UI).
    const bool shellFont = face == L"MS Shell Dlg" || face == L"MS Shell Dlg 2";
    std::uint32_t style = DS_SETFONT | (shellFont ? DS_SHELLFONT : 0);
    std::uint32_t exStyle = 0;
    if (kind == DialogKind::TopLevel) {
        style |= WS_POPUP;
        // The title bar's boxes as the template names them.
        const std::pair<std::uint32_t, std::uint32_t> frames[] = {
            {DlgFrame::Caption, WS_CAPTION},         {DlgFrame::SystemMenu, WS_SYSMENU},
            {DlgFrame::MinimizeBox, WS_MINIMIZEBOX}, {DlgFrame::MaximizeBox, WS_MAXIMIZEBOX},
            {DlgFrame::ModalFrame, DS_MODALFRAME},
        };
        for (const auto& [frame, bits] : frames) {
            if (tmpl.frame & frame) {
                style |= bits;
            }
        }
        if (tmpl.frame & DlgFrame::AppWindow) {
            exStyle |= WS_EX_APPWINDOW;
        }
    } else {
        style |= WS_CHILD | DS_CONTROL;
        exStyle |= WS_EX_CONTROLPARENT;
    }

    TemplateWriter w;
    w.Word(1);      // dlgVer
    w.Word(0xFFFF); // signature
    w.Dword(0);     // helpID
    w.Dword(exStyle);
    w.Dword(style);
    w.Word(static_cast<std::uint32_t>(items.size()));
    w.Short(0);
    w.Short(0);
    w.Short(tmpl.cx);
    w.Short(tmpl.cy);
    w.Word(0); // no menu
    w.Word(0); // the dialog class
    w.String(kind == DialogKind::TopLevel ? WideFromUtf8(tmpl.caption) : std::wstring());
    w.Word(static_cast<std::uint32_t>(tmpl.pointSize > 0 ? tmpl.pointSize : 8));
    w.Word(FW_NORMAL);
    w.Word(DEFAULT_CHARSET << 8); // italic 0, then the character set
    w.String(face);

    for (const Item& item : items) {
        w.AlignDword();
        w.Dword(0); // helpID
        w.Dword(item.exStyle);
        w.Dword(item.style);
        w.Short(item.x);
        w.Short(item.y);
        w.Short(item.cx);
        w.Short(item.cy);
        w.Dword(static_cast<std::uint32_t>(item.id));
        if (item.atom) {
            w.Ordinal(item.atom);
        } else {
            w.String(item.className);
        }
        w.String(item.text);
        w.Word(0); // no creation data
    }
    return std::move(w.Words());
}

} // namespace brimwell
