#pragma once
#include "printer/PrinterJob.h" // BRIMWELL_PRINTF

#include <string>

namespace brimwell {

// Appends the C printf formatting of the arguments to `out`, as 8-bit text without the
// terminating zero. The printer texts of this subsystem are built line by line with it.
void AppendPrintf(std::string& out, const char* format, ...) BRIMWELL_PRINTF(2, 3);

} // namespace brimwell
