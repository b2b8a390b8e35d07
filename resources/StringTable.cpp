#include "resources/StringTable.h"

#include "text/Translate.h"

namespace brimwell {
namespace {

struct StringEntry {
    int id;
    const char* text;
};

constexpr StringEntry kStrings[] = {
    {IDS_APP_TITLE, "Brimwell"},
    {200, N_("Please select a logo graphics file.")},
    {201, N_("Can't open the specified file.")},
    {202, N_("An error occurred when reading the specified file.")},
    {203, N_("The content of the specified file is not compatible with this program.")},
    {204, N_("The specified graphics file exceeds the maximum logo size of 360 x 360 pixels.")},
    {205, N_("A memory allocation error occurred while processing the specified file.")},
    {206, N_("Logo loaded OK.")},
    // TRANSLATORS: the result of a test; fills the %s of "%s logo graphics file:" and the
    // pages' other texts about the pass and the fail logo.
    {IDS_PASS, N_("Pass")},
    {IDS_FAIL, N_("Fail")},
    {310, "Corvane (UK)"},
    {311, "Corvane (USA)"},
    {312, "Corvane (LIST)"},
    {313, "Pellix Luminaire"},
    {314, "Pellix Luminaire (TLA)"},
    {315, "Orrin"},
    {316, "Tovik"},
    {317, "Vesperine"},
    {318, "Quintel"},
    {319, "Brandal"},
    {IDS_BROWSE_PASS_LOGO, N_("Browse for the pass logo file")},
    {IDS_BROWSE_FAIL_LOGO, N_("Browse for the fail logo file")},
    {IDS_BROWSE_FIRMWARE, N_("Browse for the firmware file")},
    // TRANSLATORS: spoken by a screen reader: the logo's width and height in printer dots.
    {IDS_PREVIEW_LOGO, N_("logo %d \u00d7 %d dots")},
    {IDS_PREVIEW_ROTATED, N_("rotated %d degrees")},
    {IDS_PREVIEW_INVERTED, N_("inverted")},
};

} // namespace

const char* LoadStringResource(int id) {
    for (const auto& entry : kStrings) {
        if (entry.id == id) {
            // The program's name and the tester types' names are names, the same in every
            // language; every other entry is read in the user's.
            const bool isName = id == IDS_APP_TITLE ||
                                (id >= IDS_TESTER_NAME_BASE && id < IDS_TESTER_NAME_BASE + 10);
            return isName ? entry.text : Tr(entry.text);
        }
    }
    return nullptr;
}

} // namespace brimwell
