#include "printer/PrinterIdentification.h"

namespace brimwell {

const std::vector<IdentificationRow>& IdentificationTable() {
    static const std::vector<IdentificationRow> table = {
        {{0x1203, 0x0126}, PRINTER_KIND_PRINTER},
        {{0x067B, 0x2305}, PRINTER_KIND_ADAPTER},
    };
    return table;
}

int IdentifyPrinterKind(UsbId id) {
    for (const auto& row : IdentificationTable()) {
        if (row.id == id) {
            return row.kind;
        }
    }
    return 0;
}

const char* PrinterKindName(int kind) {
    return kind == PRINTER_KIND_ADAPTER ? Tr(N_("USB-to-Parallel adapter"))
                                        : Tr(N_("Brimwell printer"));
}

std::vector<ListedPrinter> FilterPrinters(const std::vector<RawDeviceInterface>& devices) {
    std::vector<ListedPrinter> listed;
    for (const auto& device : devices) {
        if (device.devicePath.size() + 1 > kMaxDevicePathChars) {
            continue;
        }
        if (!device.location || !device.usbId) {
            continue;
        }
        const int kind = IdentifyPrinterKind(*device.usbId);
        if (kind == 0) {
            continue;
        }
        listed.push_back({kind, PrinterKindName(kind), device.devicePath, *device.usbId});
    }
    return listed;
}

bool SameDevicePath(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace brimwell
