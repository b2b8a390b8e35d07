#pragma once
// The fit check: every text the window shows, in every language, measured with its control's
// own font against the control's rectangle on a real host. What does not depend on the host
// is here: the languages and their built catalogues, which controls and list entries hold a
// text and how it has to fit, the texts the logic sets after a page is made, the sweep over
// the window and every page, the report, and the overflows planted to prove the check sees
// them. A host (tests/platform/QtFitTest.cpp, tests/win/WinFitTest.cpp) makes the window and
// measures.
#include "app/CBrimwellDlg.h"
#include "resources/DialogTemplates.h"
#include "support/BuiltCatalogues.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brimwell::test {

// The languages laid out: English, the shipped catalogues' and the pseudo-language.
inline const std::vector<std::string>& FitLanguages() {
    return BuiltLanguages();
}

// How a control's text has to fit.
enum class FitKind {
    Line,       // a static of one line (the template's height holds one): across
    Lines,      // a taller static, word-wrapped: across and down
    Button,     // a push button: across, with its frame and margins
    ListEntry,  // every entry of a list box: across its viewport, with the entry's margins
    ComboEntry, // every entry of a drop-down list: across the closed box's text area
};
// The kind of a template control; nothing for one whose text is no concern of the check (an
// edit holds the user's own text, a rich-text view scrolls, a picture has none).
std::optional<FitKind> FitKindOf(const ControlTemplate& control);

// What a text needs and what its control has, in the window's pixels.
struct Room {
    int need = 0;
    int have = 0;
    bool Fits() const { return need <= have; }
};
struct Measured {
    Room across;
    std::optional<Room> down; // for the word-wrapped statics
};

// One text that does not fit.
struct Overflow {
    std::string language;
    int dpi = 0;
    int dialogId = 0;
    std::string page; // the page's (English) title where several pages share the template
    int controlId = IDC_STATIC;
    int entry = -1; // the list entry, or -1 for the control's own text
    std::string text;
    Room room;
    bool down = false; // too high rather than too wide
};

// The report's names: the template's id, the control's id (the same number names different
// controls in different templates).
std::string DialogName(int dialogId);
std::string ControlName(int dialogId, int controlId);
// One line, e.g. `de 144dpi IDD_CFG_TESTER_TYPE IDC_SEND_CONFIGURATION "..." needs 251 px,
// has 240 px`.
std::string Describe(const Overflow& overflow);
// One line per overflow.
std::string Report(const std::vector<Overflow>& overflows);

// What a host does for the sweep.
class FitHost {
public:
    virtual ~FitHost() = default;
    // Makes the main window with `logic` attached (its OnInitDialog has run); nullptr when it
    // cannot. The window lives until Close.
    virtual IDialog* Open(CBrimwellDlg& logic) = 0;
    virtual void Close() = 0;
    // The dots per inch the open window is laid out at.
    virtual int Dpi() const = 0;
    // Lets the toolkit finish laying out what changed (a list's scroll bar).
    virtual void Settle() {}
    // The room of `control` (of the template `dialog` was made from) for the text it shows
    // (entry -1) or for its list entry `entry`, measured in the control's own font; nothing when
    // the host has no such control.
    virtual std::optional<Measured> Measure(IDialog& dialog, const ControlTemplate& control,
                                            FitKind kind, int entry) = 0;
};

// The main window and every page of the function list made in `language` (the catalogue's
// bytes; none for English) on `host`, every text measured as shown after the pages' start,
// then the texts the logic sets later (the job panel's, with a long printer name and six-digit
// counts; the density's largest value; the printer list with printers in it); every text that
// does not fit.
std::vector<Overflow> SweepWindow(FitHost& host, const std::string& language,
                                  const std::string& catalogue);

// A translation made too long for its control, and the control the check must name.
struct PlantedOverflow {
    const char* msgid;
    const char* translation;
    int dialogId;
    int controlId;
    int entry;         // -1: the control's own text
    bool down;         // the text runs out of its control's height
    std::size_t times; // how often it shows (a job's text, once for each kind of printer)
};
// One of each kind of text the check measures.
const std::vector<PlantedOverflow>& PlantedOverflows();
// Each planted translation alone in a German catalogue: the sweep names that control, and no
// other beyond those English itself has.
void ExpectEachPlantedOverflowReported(FitHost& host);

// The window opened on `host` is at the DPI the run was started for (BRIMWELL_TEST_DPI, else
// 96): a run meant for another DPI that does not have it proves nothing.
void ExpectTheDpiThisRunWasStartedFor(FitHost& host);
// Every text of the window and its pages fits in `language` on `host`, at the run's DPI.
void ExpectEveryTextFits(FitHost& host, const std::string& language);

} // namespace brimwell::test
