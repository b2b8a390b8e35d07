#pragma once
#include "platform/LocalClock.h"

#include <string>

namespace brimwell {

enum class TestResult { Pass, Fail };

// The output formats of the testers the printer serves.
enum class LabelFormat { List, Tla, Orrin, Quintel, Brandal, Boxed };

// The format a tester type prints in, chosen by the display-name identifier of its
// catalogue row; every identifier without a format of its own prints the boxed format.
LabelFormat LabelFormatForNameId(int nNameId);

// The text the tester type would print after testing an appliance: fixed test data with the
// result and the given local date and time. 8-bit ASCII, every line ends with CR LF. For a
// four-digit year the length depends only on the format (and, for the list format, on the
// result).
std::string BuildTestLabel(TestResult result, int nNameId, const LocalDateTime& when);

} // namespace brimwell
