#pragma once

namespace brimwell {

inline constexpr int MAX_FUNC_PAGES = 20;

// One row of the function table: the title listed on the left (nullptr marks an empty row),
// the dialog template of its page and the argument handed to the page.
struct FuncTableEntry {
    const char* pszTitle;
    int nDialogId;
    int nPageArg;
};

extern const FuncTableEntry kFunctionTable[MAX_FUNC_PAGES];

} // namespace brimwell
