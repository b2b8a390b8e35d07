#include "cli/CliText.h"
#include "cli/Commands.h"
#include "maintenance/MaintenanceJobs.h"
#include "text/Translate.h"

namespace brimwell::cli {

namespace {

std::string OutOfRange(const std::string& density) {
    // TRANSLATORS: %s is the density as typed.
    return Fmt(Tr("Density %s is out of range; it must be from 1 to 15."), {density});
}

} // namespace

Outcome RunDensity(Context& ctx) {
    const ArgList args(ctx.args, {}, {});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (args.positionals().empty()) {
        return Usage(Tr("density needs a value N from 1 to 15"));
    }
    if (args.positionals().size() > 1) {
        return Usage(Tr("density takes one value"));
    }
    const std::string& text = args.positionals().front();
    const DensityArgument density = ParseDensity(text);
    switch (density.status) {
    case DensityArgument::NotANumber:
        // TRANSLATORS: %s is the density as typed.
        return Refused(Fmt(Tr("Density '%s' is not a number; it must be from 1 to 15."), {text}));
    case DensityArgument::OutOfRange:
        return Refused(OutOfRange(text));
    case DensityArgument::Ok:
        break;
    }
    const auto job = DensityJob(density.value);
    if (!job) {
        return Refused(OutOfRange(text));
    }
    return Job(*job);
}

Outcome RunClock(Context& ctx) {
    const ArgList args(ctx.args, {"--at"}, {});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (!args.positionals().empty()) {
        return Usage(Tr("clock takes no arguments besides --at TIME"));
    }
    std::string refusal;
    const LocalDateTime time = TimeOption(args, ctx.clock, &refusal);
    if (!refusal.empty()) {
        return Refused(refusal);
    }
    return Job(ClockJob(time));
}

} // namespace brimwell::cli
