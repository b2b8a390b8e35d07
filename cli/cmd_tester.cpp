#include "cli/Commands.h"

namespace brimwell::cli {

Outcome RunTesterType(Context&) {
    return Usage("this command is not available in this build");
}

Outcome RunLabel(Context&) {
    return Usage("this command is not available in this build");
}

} // namespace brimwell::cli
