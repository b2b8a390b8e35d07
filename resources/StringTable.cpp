#include "resources/StringTable.h"

namespace brimwell {
namespace {

struct StringEntry {
    int id;
    const char* text;
};

constexpr StringEntry kStrings[] = {
    {IDS_APP_TITLE, "Brimwell"},
    {200, "Please select a logo graphics file."},
    {201, "Can't open the specified file."},
    {202, "An error occurred when reading the specified file."},
    {203, "The content of the specified file is not compatible with this program."},
    {204, "The specified graphics file exceeds the maximum logo size of 360 x 360 pixels."},
    {205, "A memory allocation error occurred while processing the specified file."},
    {206, "Logo loaded OK."},
    {IDS_PASS, "Pass"},
    {IDS_FAIL, "Fail"},
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
    {IDS_BROWSE_PASS_LOGO, "Browse for the pass logo file"},
    {IDS_BROWSE_FAIL_LOGO, "Browse for the fail logo file"},
    {IDS_BROWSE_FIRMWARE, "Browse for the firmware file"},
    {IDS_PREVIEW_LOGO, "logo %d \u00d7 %d dots"},
    {IDS_PREVIEW_ROTATED, "rotated %d degrees"},
    {IDS_PREVIEW_INVERTED, "inverted"},
};

} // namespace

const char* LoadStringResource(int id) {
    for (const auto& entry : kStrings) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return nullptr;
}

} // namespace brimwell
