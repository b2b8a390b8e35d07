#include "cli/Commands.h"

namespace brimwell::cli {

Outcome RunFirmware(Context&) {
    return Usage("this command is not available in this build");
}

} // namespace brimwell::cli
