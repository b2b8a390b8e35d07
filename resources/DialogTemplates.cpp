#include "resources/DialogTemplates.h"

#include "text/Translate.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace brimwell {
namespace {

using namespace CtlStyle;
constexpr const char* kShellDlg = "MS Shell Dlg";
constexpr const char* kSansSerif = "Microsoft Sans Serif";

ControlTemplate Ctl(int id, CtlClass cls, const char* text, int x, int y, int cx, int cy,
                    std::uint32_t style, int imageId = 0) {
    return ControlTemplate{id, cls, text, x, y, cx, cy, style, imageId, {}};
}

ControlTemplate Named(ControlTemplate control, const char* accessibleName) {
    control.accessibleName = accessibleName;
    return control;
}

const std::vector<DialogTemplate>& Templates() {
    static const std::vector<DialogTemplate> templates = {
        {IDD_BRIMWELL_DIALOG,
         565,
         355,
         kShellDlg,
         8,
         "Brimwell",
         {
             Ctl(IDC_STATIC, CtlClass::Static, N_("Function:"), 7, 5, 125, 8, AlignLeft),
             Ctl(IDC_FUNCTION_LIST, CtlClass::ListBox, "", 6, 16, 126, 114,
                 Notify | NoIntegralHeight | VScroll | Border | TabStop),
             Ctl(IDC_STATIC, CtlClass::Static, N_("Printer:"), 7, 155, 125, 8, AlignLeft),
             Ctl(IDC_PRINTER_COMBO, CtlClass::ComboBox, "", 6, 167, 126, 120,
                 DropDownList | VScroll | TabStop),
             Ctl(IDC_STATIC, CtlClass::Static, "", 167, 7, 1, 343, EtchedVertical),
             // The job panel, under the printer list: what is being sent, how far it is, and
             // the button that stops it. Hidden until a job has run for a second.
             Ctl(IDC_JOB_STATUS, CtlClass::Static, "", 7, 192, 125, 18, AlignLeft | Hidden),
             Named(Ctl(IDC_JOB_PROGRESS, CtlClass::Progress, "", 6, 212, 126, 9, Hidden),
                   N_("Job progress")),
             Ctl(IDC_JOB_BYTES, CtlClass::Static, "", 7, 224, 125, 8, AlignLeft | Hidden),
             Ctl(IDC_JOB_STOP, CtlClass::Button, N_("Stop"), 82, 235, 50, 14, TabStop | Hidden),
         },
         DlgFrame::Caption | DlgFrame::SystemMenu | DlgFrame::MaximizeBox | DlgFrame::ModalFrame |
             DlgFrame::AppWindow},
        {IDD_WELCOME,
         416,
         350,
         kShellDlg,
         8,
         "",
         {
             Named(Ctl(IDC_WELCOME_PICTURE, CtlClass::Static, "", 4, 10, 407, 334, Bitmap,
                       IDB_WELCOME),
                   N_("Brimwell Label Printer Utility")),
         }},
        {IDD_CFG_LOGO,
         424,
         321,
         kSansSerif,
         8,
         "",
         {
             // TRANSLATORS: %s is "Pass" or "Fail" as translated (the logo printed on a passed
             // or a failed appliance's label), here and in the page's other texts.
             Ctl(IDC_LOGO_FILE_CAPTION, CtlClass::Static, N_("%s logo graphics file:"), 4, 6, 142,
                 8, AlignLeft),
             Ctl(IDC_LOGO_FILE, CtlClass::EditBrowse, "", 3, 18, 408, 14,
                 Border | TabStop | AutoHScroll),
             Ctl(IDC_LOGO_PREVIEW_CAPTION, CtlClass::Static, N_("%s label preview:"), 3, 39, 142, 8,
                 AlignLeft),
             Ctl(IDC_LOGO_PREVIEW, CtlClass::LabelPreview, "", 3, 51, 409, 236, AlignLeft),
             Ctl(IDC_LOGO_SEND, CtlClass::Button, N_("Send %s Logo To The Printer..."), 3, 296, 160,
                 19, TabStop),
             Ctl(IDC_LOGO_ROTATE, CtlClass::Button, N_("Rotate Logo"), 206, 296, 98, 19, TabStop),
             Ctl(IDC_LOGO_INVERT, CtlClass::Button, N_("Invert Logo Colours"), 310, 296, 100, 19,
                 TabStop),
         }},
        {IDD_TEXT_INFO,
         416,
         354,
         kShellDlg,
         8,
         "",
         {
             Ctl(IDC_TEXT_VIEW, CtlClass::RichEdit, "", 0, 7, 412, 342,
                 Multiline | ReadOnly | Border | TabStop | VScroll | DisableNoScroll),
             Named(Ctl(IDC_BANNER_PICTURE, CtlClass::Static, "", 7, 17, 387, 123,
                       Bitmap | RealSizeImage, IDB_BANNER),
                   N_("Brimwell: label printers for appliance testing")),
         }},
        {IDD_CFG_TESTER_TYPE,
         240,
         148,
         kSansSerif,
         8,
         "",
         {
             Ctl(IDC_STATIC, CtlClass::Static,
                 N_("Tester type with which the printer will be used:"), 5, 12, 230, 8, AlignLeft),
             Ctl(IDC_TESTER_LIST, CtlClass::ComboBox, "", 5, 24, 188, 201,
                 DropDownList | VScroll | TabStop),
             Ctl(IDC_USER_NAME_CAPTION, CtlClass::Static,
                 N_("User name to print on this label type:"), 5, 59, 230, 8, AlignLeft),
             Ctl(IDC_USER_NAME, CtlClass::Edit, "", 5, 71, 149, 14, Border | TabStop | AutoHScroll),
             Ctl(IDC_SEND_CONFIGURATION, CtlClass::Button,
                 N_("Send Configuration To The Printer..."), 5, 121, 180, 19, TabStop),
         }},
        {IDD_GEN_TEST_LABEL,
         279,
         156,
         kSansSerif,
         8,
         "",
         {
             Ctl(IDC_STATIC, CtlClass::Static,
                 N_("Select the tester type for which the printer is configured:"), 5, 14, 270, 8,
                 AlignLeft),
             Ctl(IDC_TESTER_LIST, CtlClass::ComboBox, "", 5, 26, 188, 201,
                 DropDownList | VScroll | TabStop),
             Ctl(IDC_LABEL_ADVICE, CtlClass::Static,
                 N_("If any configuration changes have been made prior to attempting to print a "
                    "label, please ensure the printer has been turned off then back on."),
                 5, 48, 262, 39, AlignLeft),
             Ctl(IDC_PASS_LABEL, CtlClass::Button, N_("Generate a 'Pass' Label..."), 5, 88, 160, 19,
                 TabStop),
             Ctl(IDC_FAIL_LABEL, CtlClass::Button, N_("Generate a 'Fail' Label..."), 5, 126, 160,
                 19, TabStop),
         }},
        {IDD_SET_DENSITY,
         240,
         116,
         kSansSerif,
         8,
         "",
         {
             Ctl(IDC_STATIC, CtlClass::Static, N_("Light"), 0, 32, 34, 8, AlignRight),
             Named(Ctl(IDC_DENSITY_SLIDER, CtlClass::Trackbar, "", 38, 29, 156, 15,
                       TrackBoth | NoTicks | TabStop),
                   N_("Print density")),
             Ctl(IDC_STATIC, CtlClass::Static, N_("Dark"), 198, 32, 40, 8, AlignLeft),
             Ctl(IDC_DENSITY_VALUE, CtlClass::Static, "XX", 106, 48, 21, 8, AlignCenter),
             Ctl(IDC_SEND_DENSITY, CtlClass::Button, N_("Send Density Setting To The Printer..."),
                 26, 85, 180, 19, TabStop),
         }},
        {IDD_SET_DATE_TIME,
         245,
         104,
         kSansSerif,
         8,
         "",
         {
             Ctl(IDC_STATIC, CtlClass::Static,
                 N_("Sets the printer's RTC for use with 'stand alone' mode."), 5, 41, 195, 8,
                 AlignLeft),
             // TRANSLATORS: "&&" shows one ampersand (a single "&" would underline the next
             // letter as the button's access key).
             Ctl(IDC_SEND_DATE_TIME, CtlClass::Button,
                 N_("Send Current Date && Time To The Printer..."), 5, 76, 160, 19, TabStop),
         }},
        {IDD_UPDATE_FIRMWARE,
         424,
         106,
         kSansSerif,
         8,
         "",
         {
             Ctl(IDC_STATIC, CtlClass::Static, N_("Firmware update file:"), 4, 6, 142, 8,
                 AlignLeft),
             Ctl(IDC_FIRMWARE_FILE, CtlClass::EditBrowse, "", 3, 18, 408, 14,
                 Border | TabStop | AutoHScroll),
             Ctl(IDC_FIRMWARE_STATUS, CtlClass::Static, N_("Please select a firmware update file"),
                 4, 44, 414, 8, AlignLeft),
             Ctl(IDC_SEND_FIRMWARE, CtlClass::Button, N_("Send Firmware To The Printer..."), 3, 73,
                 160, 19, TabStop),
         }},
    };
    return templates;
}

} // namespace

const ControlTemplate* DialogTemplate::Find(int controlId) const {
    if (controlId == IDC_STATIC) {
        return nullptr;
    }
    for (const auto& control : controls) {
        if (control.id == controlId) {
            return &control;
        }
    }
    return nullptr;
}

DialogTemplate DialogTemplate::Without(int controlId) const {
    DialogTemplate copy = *this;
    copy.controls.erase(std::remove_if(copy.controls.begin(), copy.controls.end(),
                                       [&](const ControlTemplate& c) { return c.id == controlId; }),
                        copy.controls.end());
    return copy;
}

bool TakesFocus(const ControlTemplate& control) {
    return control.cls != CtlClass::Static && control.cls != CtlClass::LabelPreview &&
           (control.style & TabStop) != 0;
}

bool NamedByLabel(const ControlTemplate& control) {
    switch (control.cls) {
    case CtlClass::Edit:
    case CtlClass::ListBox:
    case CtlClass::ComboBox:
    case CtlClass::Trackbar:
    case CtlClass::EditBrowse:
    case CtlClass::LabelPreview:
    case CtlClass::Progress:
        return true;
    default:
        return false;
    }
}

const ControlTemplate* LabelOf(const DialogTemplate& tmpl, std::size_t index) {
    if (index == 0 || index >= tmpl.controls.size() ||
        !tmpl.controls[index].accessibleName.empty() || !NamedByLabel(tmpl.controls[index])) {
        return nullptr;
    }
    const ControlTemplate& before = tmpl.controls[index - 1];
    const bool isText = before.cls == CtlClass::Static && !before.text.empty() &&
                        (before.style & (Bitmap | EtchedVertical)) == 0;
    return isText ? &before : nullptr;
}

std::string NameFromLabel(const std::string& labelText) {
    std::string name;
    name.reserve(labelText.size());
    for (std::size_t i = 0; i < labelText.size(); ++i) {
        if (labelText[i] == '&') {
            if (i + 1 < labelText.size() && labelText[i + 1] == '&') {
                name += '&';
                ++i;
            }
            continue;
        }
        name += labelText[i];
    }
    // The colon, and the spaces before it: French puts a no-break space (U+00A0) or a narrow
    // one (U+202F) there.
    for (bool trimmed = true; trimmed && !name.empty();) {
        trimmed = false;
        for (const char* tail : {":", " ", "\xC2\xA0", "\xE2\x80\xAF"}) {
            const std::size_t n = std::char_traits<char>::length(tail);
            if (name.size() >= n && name.compare(name.size() - n, n, tail) == 0) {
                name.erase(name.size() - n);
                trimmed = true;
            }
        }
    }
    return name;
}

namespace {

// The templates with every text in the current catalogue's language: made once per catalogue
// and kept, so that the pointers handed out stay valid when a test changes the language.
const std::vector<DialogTemplate>& TranslatedTemplates() {
    const MoCatalog* catalogue = CurrentCatalogue();
    if (!catalogue) {
        return Templates();
    }
    static std::mutex lock;
    static std::map<const MoCatalog*, std::vector<DialogTemplate>> translated;
    const std::lock_guard<std::mutex> hold(lock);
    auto found = translated.find(catalogue);
    if (found == translated.end()) {
        std::vector<DialogTemplate> copy = Templates();
        for (DialogTemplate& tmpl : copy) {
            for (ControlTemplate& control : tmpl.controls) {
                // The density's "XX" stands in for a number; every other text is words.
                if (!control.text.empty() && control.text != "XX") {
                    control.text = Tr(control.text.c_str());
                }
                if (!control.accessibleName.empty()) {
                    control.accessibleName = Tr(control.accessibleName.c_str());
                }
            }
        }
        found = translated.emplace(catalogue, std::move(copy)).first;
    }
    return found->second;
}

} // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const auto& t : TranslatedTemplates()) {
        if (t.id == id) {
            return &t;
        }
    }
    return nullptr;
}

} // namespace brimwell
