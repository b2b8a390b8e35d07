#include "cli/Commands.h"

namespace brimwell::cli {

Outcome RunPreview(Context&) {
    return Usage("this command is not available in this build");
}

} // namespace brimwell::cli
