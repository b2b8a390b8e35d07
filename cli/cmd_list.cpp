#include "cli/Commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstdio>

namespace brimwell::cli {
namespace {

QString Hex4(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFFu);
    return QString::fromLatin1(text);
}

// The list as a JSON array, one object per listed device, for scripts: names and paths may
// hold any character, and the writer escapes them.
std::string ListAsJson(const std::vector<ListedPrinter>& listed) {
    QJsonArray array;
    int index = 0;
    for (const ListedPrinter& p : listed) {
        QJsonObject o;
        o.insert("index", ++index);
        o.insert("name", QString::fromStdString(p.name));
        o.insert("path", QString::fromStdString(p.devicePath));
        o.insert("kind", p.kind == PRINTER_KIND_ADAPTER ? "adapter" : "printer");
        o.insert("vendor", Hex4(p.ids.vendor));
        o.insert("product", Hex4(p.ids.product));
        array.append(o);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
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
        return Usage("list takes no arguments but --json");
    }
    const auto listed = ListPrinters(ctx.enumerator);
    if (args.Last("--json")) {
        ctx.out << ListAsJson(listed) << "\n";
        return Done();
    }
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
