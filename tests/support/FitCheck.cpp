#include "support/FitCheck.h"

#include "maintenance/MaintenanceJobs.h"
#include "printer/PrinterIdentification.h"
#include "support/FakePlatform.h"
#include "support/MoFile.h"
#include "text/Translate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <tuple>

namespace brimwell::test {
namespace {

struct Name {
    int dialogId; // 0: any template
    int id;
    const char* name;
};

#define BRIMWELL_NAMED(id)                                                                         \
    { 0, id, #id }
const Name kDialogs[] = {
    BRIMWELL_NAMED(IDD_BRIMWELL_DIALOG), BRIMWELL_NAMED(IDD_WELCOME),
    BRIMWELL_NAMED(IDD_CFG_LOGO),        BRIMWELL_NAMED(IDD_TEXT_INFO),
    BRIMWELL_NAMED(IDD_CFG_TESTER_TYPE), BRIMWELL_NAMED(IDD_GEN_TEST_LABEL),
    BRIMWELL_NAMED(IDD_SET_DENSITY),     BRIMWELL_NAMED(IDD_SET_DATE_TIME),
    BRIMWELL_NAMED(IDD_UPDATE_FIRMWARE),
};
const Name kControls[] = {
    BRIMWELL_NAMED(IDC_STATIC),
    BRIMWELL_NAMED(IDC_FUNCTION_LIST),
    BRIMWELL_NAMED(IDC_PRINTER_COMBO),
    BRIMWELL_NAMED(IDC_LOGO_FILE),
    BRIMWELL_NAMED(IDC_LOGO_PREVIEW),
    BRIMWELL_NAMED(IDC_WELCOME_PICTURE),
    BRIMWELL_NAMED(IDC_LOGO_SEND),
    BRIMWELL_NAMED(IDC_TEXT_VIEW),
    BRIMWELL_NAMED(IDC_TESTER_LIST),
    BRIMWELL_NAMED(IDC_SEND_CONFIGURATION),
    BRIMWELL_NAMED(IDC_USER_NAME_CAPTION),
    BRIMWELL_NAMED(IDC_USER_NAME),
    BRIMWELL_NAMED(IDC_PASS_LABEL),
    {IDD_GEN_TEST_LABEL, IDC_FAIL_LABEL, "IDC_FAIL_LABEL"},
    {IDD_CFG_LOGO, IDC_LOGO_ROTATE, "IDC_LOGO_ROTATE"},
    BRIMWELL_NAMED(IDC_LOGO_INVERT),
    BRIMWELL_NAMED(IDC_SEND_DATE_TIME),
    BRIMWELL_NAMED(IDC_LOGO_FILE_CAPTION),
    BRIMWELL_NAMED(IDC_LOGO_PREVIEW_CAPTION),
    BRIMWELL_NAMED(IDC_SEND_DENSITY),
    BRIMWELL_NAMED(IDC_DENSITY_SLIDER),
    BRIMWELL_NAMED(IDC_DENSITY_VALUE),
    BRIMWELL_NAMED(IDC_SEND_FIRMWARE),
    BRIMWELL_NAMED(IDC_FIRMWARE_FILE),
    BRIMWELL_NAMED(IDC_FIRMWARE_STATUS),
    BRIMWELL_NAMED(IDC_LABEL_ADVICE),
    BRIMWELL_NAMED(IDC_BANNER_PICTURE),
    BRIMWELL_NAMED(IDC_JOB_STATUS),
    BRIMWELL_NAMED(IDC_JOB_PROGRESS),
    BRIMWELL_NAMED(IDC_JOB_BYTES),
    BRIMWELL_NAMED(IDC_JOB_STOP),
};
#undef BRIMWELL_NAMED

// A dialog of the window as the sweep goes through it.
struct Target {
    const DialogTemplate* tmpl;
    std::string page; // the row's English title where rows share the template
    IDialog* dialog;
};

class Sweep {
public:
    Sweep(FitHost& host, std::string language, int dpi)
        : m_host(host), m_language(std::move(language)), m_dpi(dpi) {}

    // Every text control of the target as it shows now.
    void CheckTarget(const Target& target) {
        for (const ControlTemplate& control : target.tmpl->controls) {
            if (const std::optional<FitKind> kind = FitKindOf(control)) {
                CheckControl(target, control, *kind);
            }
        }
    }

    void CheckControl(const Target& target, const ControlTemplate& control, FitKind kind) {
        IDialog& dialog = *target.dialog;
        if (kind == FitKind::ListEntry || kind == FitKind::ComboEntry) {
            for (int entry = 0; entry < dialog.GetCount(control.id); ++entry) {
                Check(target, control, kind, entry, dialog.GetString(control.id, entry));
            }
        } else {
            // A static without an id keeps its template text (in this language).
            Check(target, control, kind, -1,
                  control.id == IDC_STATIC ? control.text : dialog.ItemText(control.id));
        }
    }

    std::vector<Overflow> overflows;

private:
    void Check(const Target& target, const ControlTemplate& control, FitKind kind, int entry,
               const std::string& text) {
        if (text.empty()) {
            return;
        }
        Overflow found{m_language, m_dpi, target.tmpl->id, target.page, control.id, entry, text,
                       {},         false};
        const std::optional<Measured> measured =
            m_host.Measure(*target.dialog, control, kind, entry);
        if (!measured) {
            ADD_FAILURE() << "the host made no control for " << Describe(found);
            return;
        }
        if (!measured->across.Fits()) {
            found.room = measured->across;
            overflows.push_back(found);
        }
        if (measured->down && !measured->down->Fits()) {
            found.room = *measured->down;
            found.down = true;
            overflows.push_back(found);
        }
    }

    FitHost& m_host;
    std::string m_language;
    int m_dpi;
};

// Closes the host's window when the sweep ends, before the logic goes.
struct OpenWindow {
    explicit OpenWindow(FitHost& host) : host(host) {}
    ~OpenWindow() { host.Close(); }
    OpenWindow(const OpenWindow&) = delete;
    OpenWindow& operator=(const OpenWindow&) = delete;
    FitHost& host;
};

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

std::optional<FitKind> FitKindOf(const ControlTemplate& control) {
    // A line of the dialog font is 8 dialog units high.
    constexpr int kLineUnits = 8;
    switch (control.cls) {
    case CtlClass::Static:
        if (control.style & (CtlStyle::Bitmap | CtlStyle::EtchedVertical)) {
            return std::nullopt;
        }
        return control.cy / kLineUnits >= 2 ? FitKind::Lines : FitKind::Line;
    case CtlClass::Button:
        return FitKind::Button;
    case CtlClass::ListBox:
        return FitKind::ListEntry;
    case CtlClass::ComboBox:
        return FitKind::ComboEntry;
    default:
        return std::nullopt;
    }
}

std::string DialogName(int dialogId) {
    for (const Name& name : kDialogs) {
        if (name.id == dialogId) {
            return name.name;
        }
    }
    return "dialog " + std::to_string(dialogId);
}

std::string ControlName(int dialogId, int controlId) {
    for (const Name& name : kControls) {
        if (name.id == controlId && (name.dialogId == 0 || name.dialogId == dialogId)) {
            return name.name;
        }
    }
    return "control " + std::to_string(controlId);
}

std::string Describe(const Overflow& o) {
    std::string line = o.language + " " + std::to_string(o.dpi) + "dpi " + DialogName(o.dialogId);
    if (!o.page.empty()) {
        line += " (" + o.page + ")";
    }
    line += " " + ControlName(o.dialogId, o.controlId);
    if (o.entry >= 0) {
        line += " entry " + std::to_string(o.entry);
    }
    line += " " + Quoted(o.text) + " needs " + std::to_string(o.room.need) + " px" +
            (o.down ? " of height" : "") + ", has " + std::to_string(o.room.have) + " px";
    return line;
}

std::string Report(const std::vector<Overflow>& overflows) {
    std::string text;
    for (const Overflow& overflow : overflows) {
        text += Describe(overflow) + "\n";
    }
    return text;
}

std::vector<Overflow> SweepWindow(FitHost& host, const std::string& language,
                                  const std::string& catalogue) {
    std::optional<ScopedCatalogue> speaking;
    if (language == kEnglish) {
        speaking.emplace();
    } else {
        speaking.emplace(catalogue, language);
    }
    FakePlatform platform; // no printer yet: the printer list says so
    CBrimwellDlg logic;
    OpenWindow open(host);
    IDialog* window = host.Open(logic);
    if (!window) {
        ADD_FAILURE() << "the window cannot be made in " << language;
        return {};
    }
    Sweep sweep(host, language, host.Dpi());

    std::map<int, int> rowsOf; // template id: rows that show it
    for (const PageRow& row : FunctionPages()) {
        ++rowsOf[row.dialogId];
    }
    const Target main{FindDialogTemplate(IDD_BRIMWELL_DIALOG), "", window};
    std::vector<Target> targets = {main};
    for (int slot = 0; slot < logic.PageCount(); ++slot) {
        const PageRow& row = FunctionPages()[static_cast<std::size_t>(slot)];
        CFuncDlg* page = logic.MakePage(slot);
        if (!page) {
            ADD_FAILURE() << "no page for row " << row.title;
            continue;
        }
        targets.push_back({FindDialogTemplate(row.dialogId),
                           rowsOf[row.dialogId] > 1 ? row.title : "", &page->Dialog()});
    }
    host.Settle();
    for (const Target& target : targets) {
        sweep.CheckTarget(target);
    }

    // What the logic sets later: the job panel's texts for either kind of printer and a
    // six-digit job, and the density's largest value.
    std::vector<std::tuple<int, int, std::string>> later = {
        {IDD_BRIMWELL_DIALOG, IDC_JOB_BYTES, JobBytesText(123456, 123456)},
        {IDD_SET_DENSITY, IDC_DENSITY_VALUE, std::to_string(kDensityMax)},
    };
    for (const int kind : {PRINTER_KIND_ADAPTER, PRINTER_KIND_PRINTER}) {
        for (const char* status : {kJobSending, kJobStopping}) {
            later.emplace_back(IDD_BRIMWELL_DIALOG, IDC_JOB_STATUS,
                               FormatMessage(Tr(status), PrinterKindName(kind)));
        }
    }
    for (const auto& [dialogId, controlId, text] : later) {
        for (const Target& target : targets) {
            const ControlTemplate* control =
                target.tmpl->id == dialogId ? target.tmpl->Find(controlId) : nullptr;
            if (!control) {
                continue;
            }
            target.dialog->SetItemText(controlId, text);
            host.Settle();
            sweep.CheckControl(target, *control, *FitKindOf(*control));
        }
    }

    // The printer list with a printer and an adapter in it.
    platform.AddPrinter("/dev/usb/lp0", 0x067B, 0x2305);
    platform.AddPrinter("/dev/usb/lp1");
    logic.RefreshPrinterList();
    host.Settle();
    sweep.CheckControl(main, *main.tmpl->Find(IDC_PRINTER_COMBO), FitKind::ComboEntry);
    return sweep.overflows;
}

const std::vector<PlantedOverflow>& PlantedOverflows() {
    static const std::vector<PlantedOverflow> planted = {
        {"Send Configuration To The Printer...",
         "Die Konfiguration des Pr\xc3\xbc"
         "fger\xc3\xa4tetyps jetzt an den angeschlossenen Drucker senden...",
         IDD_CFG_TESTER_TYPE, IDC_SEND_CONFIGURATION, -1, false, 1},
        {"Printer:", "Angeschlossener Etikettendrucker f\xc3\xbcr diesen Auftrag:",
         IDD_BRIMWELL_DIALOG, IDC_STATIC, -1, false, 1},
        {"If any configuration changes have been made prior to attempting to print a label, "
         "please ensure the printer has been turned off then back on.",
         "Wenn vor dem Drucken eines Etiketts irgendwelche \xc3\x84nderungen an der "
         "Konfiguration vorgenommen worden sind, stellen Sie bitte sicher, dass der Drucker "
         "vollst\xc3\xa4ndig ausgeschaltet und danach wieder eingeschaltet worden ist. Warten Sie "
         "dazu, bis alle Lampen des Druckers erloschen sind, und schalten Sie ihn erst dann "
         "wieder ein. Andernfalls druckt der Drucker das Etikett noch mit der alten "
         "Konfiguration, und das Etikett zeigt nicht, was Sie eingestellt haben.",
         IDD_GEN_TEST_LABEL, IDC_LABEL_ADVICE, -1, true, 1},
        {"Configure Print Density", "Druckdichte des angeschlossenen Etikettendruckers einstellen",
         IDD_BRIMWELL_DIALOG, IDC_FUNCTION_LIST, 7, false, 1},
        {"No printer found", "Weder ein Etikettendrucker noch ein USB-Parallel-Adapter gefunden",
         IDD_BRIMWELL_DIALOG, IDC_PRINTER_COMBO, 0, false, 1},
        {"Sending the job to '%s'...",
         "Der Auftrag wird jetzt an den ausgew\xc3\xa4hlten Drucker '%s' gesendet; bitte warten "
         "Sie, bis alle Daten vollst\xc3\xa4ndig \xc3\xbc"
         "bertragen worden sind...",
         IDD_BRIMWELL_DIALOG, IDC_JOB_STATUS, -1, true, 2},
    };
    return planted;
}

void ExpectEachPlantedOverflowReported(FitHost& host) {
    // What English itself overflows (it should be nothing) is no news in the planted sweeps.
    const auto key = [](const Overflow& o) {
        return std::tie(o.dialogId, o.page, o.controlId, o.entry, o.text, o.down);
    };
    const std::vector<Overflow> english = SweepWindow(host, kEnglish, "");
    const std::string adapter = PrinterKindName(PRINTER_KIND_ADAPTER);
    const std::string printer = PrinterKindName(PRINTER_KIND_PRINTER);
    for (const PlantedOverflow& planted : PlantedOverflows()) {
        SCOPED_TRACE(planted.msgid);
        const std::string catalogue = MoFile({{"", "Content-Type: text/plain; charset=UTF-8\n"},
                                              {planted.msgid, planted.translation}});
        std::vector<Overflow> found;
        for (const Overflow& overflow : SweepWindow(host, "de", catalogue)) {
            bool known = false;
            for (const Overflow& before : english) {
                known = known || key(before) == key(overflow);
            }
            if (!known) {
                found.push_back(overflow);
            }
        }
        ASSERT_EQ(found.size(), planted.times) << Report(found);
        for (const Overflow& o : found) {
            EXPECT_EQ(o.language, "de");
            EXPECT_EQ(DialogName(o.dialogId), DialogName(planted.dialogId));
            EXPECT_EQ(ControlName(o.dialogId, o.controlId),
                      ControlName(planted.dialogId, planted.controlId));
            EXPECT_EQ(o.entry, planted.entry);
            EXPECT_EQ(o.down, planted.down);
            // The text as shown: a printer's name in place of "%s".
            EXPECT_TRUE(o.text == FormatMessage(planted.translation, adapter) ||
                        o.text == FormatMessage(planted.translation, printer))
                << o.text;
            EXPECT_GT(o.room.need, o.room.have);
            EXPECT_GT(o.room.have, 0);
            const std::string line = Describe(o);
            EXPECT_EQ(line.rfind("de ", 0), 0u) << line;
            EXPECT_NE(line.find(ControlName(planted.dialogId, planted.controlId)),
                      std::string::npos)
                << line;
        }
    }
}

void ExpectTheDpiThisRunWasStartedFor(FitHost& host) {
    FakePlatform platform;
    CBrimwellDlg logic;
    ASSERT_NE(host.Open(logic), nullptr);
    const char* wanted = std::getenv("BRIMWELL_TEST_DPI");
    EXPECT_EQ(host.Dpi(), wanted ? std::atoi(wanted) : 96);
    host.Close();
}

void ExpectEveryTextFits(FitHost& host, const std::string& language) {
    ExpectTheDpiThisRunWasStartedFor(host);
    const std::optional<std::string> catalogue = BuiltCatalogue(language);
    ASSERT_TRUE(catalogue) << "no catalogue built for " << language;
    const std::vector<Overflow> overflows = SweepWindow(host, language, *catalogue);
    EXPECT_TRUE(overflows.empty()) << overflows.size() << " texts do not fit:\n"
                                   << Report(overflows);
}

} // namespace brimwell::test
