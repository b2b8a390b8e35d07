#pragma once
#include "printer/PrinterJob.h" // BRIMWELL_PRINTF

#include <cstdarg>
#include <string>

namespace brimwell {

// Appends the C printf formatting of the arguments to `out`, as 8-bit text without the
// terminating zero. Every printer text is built with these, so there is one formatter.
// Returns false, leaving `out` unchanged, when the arguments cannot be formatted.
bool AppendVPrintf(std::string& out, const char* format, std::va_list args);
bool AppendPrintf(std::string& out, const char* format, ...) BRIMWELL_PRINTF(2, 3);

} // namespace brimwell
