#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brimwell {

// Dialog templates as data: each control with its id, class, text, position and size in
// dialog units and style flags. Each host (Qt, Win32) builds its controls from the same data.

// EditBrowse is an edit with a browse button; LabelPreview the logo pages' drawn label preview.
enum class CtlClass {
    Static,
    Button,
    Edit,
    ListBox,
    ComboBox,
    Trackbar,
    RichEdit,
    EditBrowse,
    LabelPreview,
    Progress, // a progress bar, 0 to PROGRESS_MAX
};

// The full scale of a progress bar.
inline constexpr int PROGRESS_MAX = 1000;

namespace CtlStyle {
enum : std::uint32_t {
    AlignLeft = 0,
    AlignCenter = 1u << 0,
    AlignRight = 1u << 1,
    EtchedVertical = 1u << 2, // static: a sunken vertical line
    Bitmap = 1u << 3,         // static: shows the picture named by imageId
    TabStop = 1u << 4,
    VScroll = 1u << 5,
    HScroll = 1u << 6,
    Border = 1u << 7,
    AutoHScroll = 1u << 8,
    Multiline = 1u << 9,
    ReadOnly = 1u << 10,
    Notify = 1u << 11,
    NoIntegralHeight = 1u << 12,
    DropDownList = 1u << 13,
    TrackBoth = 1u << 14,
    NoTicks = 1u << 15,
    DisableNoScroll = 1u << 16, // scroll bar always present, disabled when the text fits
    RealSizeImage = 1u << 17,
    Hidden = 1u << 18, // created hidden
};
} // namespace CtlStyle

// The frame of a top-level dialog (a child dialog has none): which boxes its title bar shows.
namespace DlgFrame {
enum : std::uint32_t {
    Caption = 1u << 0,    // a title bar
    SystemMenu = 1u << 1, // the window menu, with the close box
    MinimizeBox = 1u << 2,
    MaximizeBox = 1u << 3,
    ModalFrame = 1u << 4, // a dialog's fixed frame
    AppWindow = 1u << 5,  // shown on the taskbar
};
} // namespace DlgFrame

inline constexpr int IDC_STATIC = -1;

struct ControlTemplate {
    int id = IDC_STATIC;
    CtlClass cls = CtlClass::Static;
    std::string text; // UTF-8; "&&" stands for one ampersand
    int x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t style = 0;
    int imageId = 0; // picture resource for a bitmap static
    // What a screen reader calls the control where no label before it says so (the slider,
    // the pictures); empty: its label's words, or its own text.
    std::string accessibleName;
};

struct DialogTemplate {
    int id = 0;
    int cx = 0, cy = 0;
    std::string fontFace;
    int pointSize = 8;
    std::string caption;
    std::vector<ControlTemplate> controls;
    std::uint32_t frame = 0; // DlgFrame flags, for a top-level dialog

    const ControlTemplate* Find(int controlId) const;
    // A copy without the control: for tests of damaged templates.
    DialogTemplate Without(int controlId) const;
};

// The template with this id, or nullptr.
const DialogTemplate* FindDialogTemplate(int id);

// Whether the control is reached with Tab and so must have a name a screen reader can say.
bool TakesFocus(const ControlTemplate& control);
// Whether the control shows no text of its own (an edit, a list, a slider), so that its name
// comes from the label before it, as Windows takes it.
bool NamedByLabel(const ControlTemplate& control);
// The static text that labels control `index` of `tmpl`: the text control immediately before it
// in the template (and so in creation and tab order), or nullptr when the control before it is
// no text or the control has a name of its own in the template.
const ControlTemplate* LabelOf(const DialogTemplate& tmpl, std::size_t index);
// A label's words as a name: the mnemonic marks taken out ("&&" stays one "&") and the trailing
// colon dropped, as AT-SPI names read.
std::string NameFromLabel(const std::string& labelText);

// Dialog ids.
inline constexpr int IDD_BRIMWELL_DIALOG = 101;
inline constexpr int IDD_WELCOME = 138;
inline constexpr int IDD_CFG_LOGO = 139;
inline constexpr int IDD_TEXT_INFO = 140;
inline constexpr int IDD_CFG_TESTER_TYPE = 141;
inline constexpr int IDD_GEN_TEST_LABEL = 142;
inline constexpr int IDD_SET_DENSITY = 143;
inline constexpr int IDD_SET_DATE_TIME = 144;
inline constexpr int IDD_UPDATE_FIRMWARE = 145;

// Control ids.
inline constexpr int IDC_FUNCTION_LIST = 1000;
inline constexpr int IDC_PRINTER_COMBO = 1009;
inline constexpr int IDC_LOGO_FILE = 1010;
inline constexpr int IDC_LOGO_PREVIEW = 1014;
inline constexpr int IDC_WELCOME_PICTURE = 1015;
inline constexpr int IDC_LOGO_SEND = 1018;
inline constexpr int IDC_TEXT_VIEW = 1019;
inline constexpr int IDC_TESTER_LIST = 1020;
inline constexpr int IDC_SEND_CONFIGURATION = 1021;
inline constexpr int IDC_USER_NAME_CAPTION = 1023;
inline constexpr int IDC_USER_NAME = 1024;
inline constexpr int IDC_PASS_LABEL = 1025;
inline constexpr int IDC_FAIL_LABEL = 1026;
inline constexpr int IDC_LOGO_ROTATE = 1026;
inline constexpr int IDC_LOGO_INVERT = 1027;
inline constexpr int IDC_SEND_DATE_TIME = 1028;
inline constexpr int IDC_LOGO_FILE_CAPTION = 1029;
inline constexpr int IDC_LOGO_PREVIEW_CAPTION = 1030;
inline constexpr int IDC_SEND_DENSITY = 1031;
inline constexpr int IDC_DENSITY_SLIDER = 1032;
inline constexpr int IDC_DENSITY_VALUE = 1033;
inline constexpr int IDC_SEND_FIRMWARE = 1039;
inline constexpr int IDC_FIRMWARE_FILE = 1040;
inline constexpr int IDC_FIRMWARE_STATUS = 1041;
inline constexpr int IDC_LABEL_ADVICE = 1042;
inline constexpr int IDC_BANNER_PICTURE = 1043;
// The main window's job panel, shown while a job that has run for a second is being sent.
inline constexpr int IDC_JOB_STATUS = 1050;
inline constexpr int IDC_JOB_PROGRESS = 1051;
inline constexpr int IDC_JOB_BYTES = 1052;
inline constexpr int IDC_JOB_STOP = 1053;

// Picture resources.
inline constexpr int IDB_WELCOME = 313;
inline constexpr int IDB_BANNER = 316;

} // namespace brimwell
