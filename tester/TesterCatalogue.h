#pragma once
#include <string>

namespace brimwell {

// One row of the tester catalogue. The position of a row is the tester index.
struct TesterTypeInfo {
    int nNameId; // display name in the string table (310-319); 0 ends the table
    int nCode;   // the value kept in the profile (1000-1009)
    char chMode; // the mode character written into "MODE.MOD"
};

// The ten rows followed by the terminating row.
extern const TesterTypeInfo kTesterCatalogue[];

inline constexpr int kTesterCount = 10;
// Display-name identifiers that other code keys on.
inline constexpr int IDS_TESTER_LIST = 312;    // "Corvane (LIST)": list label format
inline constexpr int IDS_TESTER_TLA = 314;     // the one tester type that prints a user name
inline constexpr int IDS_TESTER_ORRIN = 315;   // Orrin label format
inline constexpr int IDS_TESTER_QUINTEL = 318; // Quintel label format
inline constexpr int IDS_TESTER_BRANDAL = 319; // Brandal label format

const TesterTypeInfo& TesterRow(int index);
// Index of the row whose code equals the stored value; 0 when no row matches.
int TesterIndexForCode(int code);
int TesterCode(int index);
int TesterNameId(int index);
char TesterMode(int index);
bool TesterUsesUserName(int index);
// The display name from the string table ("" when it has none).
const char* TesterDisplayName(int index);

// The tester index named by text typed outside the window: an index "0" to "9", a code
// "1000" to "1009" or a display name exactly as listed. -1 when it names no tester type.
int TesterIndexFromText(const std::string& text);

} // namespace brimwell
