#include "cli/Commands.h"

namespace brimwell::cli {

Outcome RunLogo(Context&) {
    return Usage("this command is not available in this build");
}

Outcome RunPreview(Context&) {
    return Usage("this command is not available in this build");
}

} // namespace brimwell::cli
