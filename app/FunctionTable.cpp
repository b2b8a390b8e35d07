#include "app/FunctionTable.h"

#include "resources/DialogTemplates.h"

namespace brimwell {

// The rows of the function list, in the order the user sees them. The printer's clock page
// (IDD_SET_DATE_TIME) has its class, template and page-factory entry but no row: the window
// does not offer it to users (brimwell-cli's `clock` command sends the same job). It is kept
// whole so that a row added here shows it like any other page, as the page tests do.
const FuncTableEntry kFunctionTable[MAX_FUNC_PAGES] = {
    {"Welcome", IDD_WELCOME, 0},
    {"About Brimwell", IDD_TEXT_INFO, 0},
    {"Help : Connecting a Printer", IDD_TEXT_INFO, 1},
    {"Help : Updating Firmware", IDD_TEXT_INFO, 2},
    {"Help : Creating Logos", IDD_TEXT_INFO, 3},
    {"Update Printer Firmware", IDD_UPDATE_FIRMWARE, 0},
    {"Configure Tester Type", IDD_CFG_TESTER_TYPE, 0},
    {"Configure Print Density", IDD_SET_DENSITY, 0},
    {"Configure Pass Logo", IDD_CFG_LOGO, 0},
    {"Configure Fail Logo", IDD_CFG_LOGO, 1},
    {"Generate Test Label", IDD_GEN_TEST_LABEL, 0},
    {nullptr, 0, 0},
    {nullptr, 0, 0},
    {nullptr, 0, 0},
    {nullptr, 0, 0},
    {nullptr, 0, 0},
    {nullptr, 0, 0},
    {nullptr, 0, 0},
    {nullptr, 0, 0},
    {nullptr, 0, 0},
};

} // namespace brimwell
