#include "cli/CliText.h"
#include "cli/Commands.h"
#include "text/Translate.h"

#include <cstdio>

namespace brimwell::cli {
namespace {

std::string Hex4(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "\"%04x\"", value & 0xFFFFu);
    return text;
}

// The list as a compact JSON array, one object per listed device, keys in alphabetical order.
std::string ListAsJson(const std::vector<ListedPrinter>& listed) {
    std::string json = "[";
    int index = 0;
    for (const ListedPrinter& p : listed) {
        json += index == 0 ? "{" : ",{";
        json += "\"index\":" + std::to_string(++index);
        json += ",\"kind\":" + JsonString(p.kind == PRINTER_KIND_ADAPTER ? "adapter" : "printer");
        json += ",\"name\":" + JsonString(p.name);
        json += ",\"path\":" + JsonString(p.devicePath);
        json += ",\"product\":" + Hex4(p.usbId.product);
        json += ",\"vendor\":" + Hex4(p.usbId.vendor) + "}";
    }
    return json + "]";
}

} // namespace

std::vector<ListedPrinter> ListPrinters(IDeviceEnumerator& enumerator) {
    // A refused query lists nothing, like an empty bus.
    std::vector<RawDeviceInterface> raw;
    if (!enumerator.Enumerate(raw)) {
        return {};
    }
    return FilterPrinters(raw);
}

Outcome RunList(Context& ctx) {
    const ArgList args(ctx.args, {}, {"--json"});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (!args.positionals().empty()) {
        // TRANSLATORS: %s is the command's name, as typed.
        return Usage(Fmt(Tr("%s takes no arguments but --json"), {"list"}));
    }
    const auto listed = ListPrinters(ctx.enumerator);
    if (args.Last("--json")) {
        ctx.out << ListAsJson(listed) << "\n";
        return Done();
    }
    if (listed.empty()) {
        // Standard output stays empty, so that `list | cut -f3` gives no false path.
        Outcome none = Done();
        none.note = Tr(kNoPrinterFound);
        return none;
    }
    int n = 0;
    for (const ListedPrinter& p : listed) {
        ctx.out << ++n << '\t' << p.name << '\t' << p.devicePath << "\n";
    }
    return Done();
}

} // namespace brimwell::cli
