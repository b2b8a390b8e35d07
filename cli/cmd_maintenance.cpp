#include "cli/Commands.h"

namespace brimwell::cli {

Outcome RunDensity(Context&) {
    return Usage("this command is not available in this build");
}

Outcome RunClock(Context&) {
    return Usage("this command is not available in this build");
}

} // namespace brimwell::cli
