#include "cli/Commands.h"

namespace brimwell::cli {

std::vector<ListedPrinter> ListPrinters(IDeviceEnumerator& enumerator) {
    // A refused query lists nothing, like an empty bus.
    std::vector<RawDeviceInterface> raw;
    if (!enumerator.Enumerate(raw)) {
        return {};
    }
    return FilterPrinters(raw);
}

Outcome RunList(Context& ctx) {
    if (!ctx.args.empty()) {
        return Usage("list takes no arguments");
    }
    const auto listed = ListPrinters(ctx.enumerator);
    if (listed.empty()) {
        ctx.out << kNoPrinterFound << "\n";
    }
    int n = 0;
    for (const ListedPrinter& p : listed) {
        ctx.out << ++n << '\t' << p.name << '\t' << p.devicePath << "\n";
    }
    return Done();
}

} // namespace brimwell::cli
