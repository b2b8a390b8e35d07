#include "cli/Commands.h"
#include "printer/PrinterIdentification.h"

namespace brimwell::cli {

Outcome RunList(Context& ctx) {
    if (!ctx.args.empty()) {
        return Usage("list takes no arguments");
    }
    std::vector<RawDeviceInterface> raw;
    ctx.enumerator.Enumerate(raw);
    const auto listed = FilterPrinters(raw);
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
