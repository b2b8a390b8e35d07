#include "cli/Commands.h"
#include "maintenance/MaintenanceJobs.h"

namespace brimwell::cli {

Outcome RunDensity(Context& ctx) {
    const ArgList args(ctx.args, {}, {});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (args.positionals().empty()) {
        return Usage("density needs a value N from 1 to 15");
    }
    if (args.positionals().size() > 1) {
        return Usage("density takes one value");
    }
    const std::string& text = args.positionals().front();
    const DensityArgument density = ParseDensity(text);
    switch (density.status) {
    case DensityArgument::NotANumber:
        return Refused("Density '" + text + "' is not a number; it must be from 1 to 15.");
    case DensityArgument::OutOfRange:
        return Refused("Density " + text + " is out of range; it must be from 1 to 15.");
    case DensityArgument::Ok:
        break;
    }
    const auto job = DensityJob(density.value);
    if (!job) {
        return Refused("Density " + text + " is out of range; it must be from 1 to 15.");
    }
    return Job(*job);
}

Outcome RunClock(Context& ctx) {
    const ArgList args(ctx.args, {"--at"}, {});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (!args.positionals().empty()) {
        return Usage("clock takes no arguments besides --at TIME");
    }
    std::string refusal;
    const LocalDateTime time = TimeOption(args, ctx.clock, &refusal);
    if (!refusal.empty()) {
        return Refused(refusal);
    }
    return Job(ClockJob(time));
}

} // namespace brimwell::cli
