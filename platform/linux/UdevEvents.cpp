#include "platform/linux/UdevEvents.h"

#include "text/Hex.h"

#include <cerrno>
#include <cstdint>

namespace brimwell {

bool IsPrinterInterface(const std::string& subsystem, const std::string& sysname) {
    return subsystem == "usbmisc" && sysname.size() > 2 && sysname.compare(0, 2, "lp") == 0;
}

bool IsPrinterInterfaceEvent(const std::string& action, const std::string& subsystem,
                             const std::string& sysname) {
    return (action == "add" || action == "remove") && IsPrinterInterface(subsystem, sysname);
}

bool DrainNeedsRebuild(const std::function<MonitorRead()>& next) {
    bool rebuild = false;
    for (;;) {
        const MonitorRead read = next();
        if (!read.got) {
            const int e = read.error;
            return rebuild || (e != 0 && e != EAGAIN && e != EWOULDBLOCK && e != EINTR);
        }
        rebuild = rebuild || read.ours;
    }
}

std::optional<UsbId> UsbIdFromAttributes(const char* idVendor, const char* idProduct) {
    const auto number = [](const char* text) -> std::optional<std::uint16_t> {
        if (!text || !*text) {
            return std::nullopt;
        }
        unsigned value = 0;
        int digits = 0;
        for (const char* c = text; *c; ++c) {
            const int digit = HexDigitValue(*c);
            if (digit < 0 || ++digits > 4) {
                return std::nullopt;
            }
            value = value * 16u + static_cast<unsigned>(digit);
        }
        return static_cast<std::uint16_t>(value);
    };
    const std::optional<std::uint16_t> vendor = number(idVendor);
    const std::optional<std::uint16_t> product = number(idProduct);
    if (!vendor || !product) {
        return std::nullopt;
    }
    return UsbId{*vendor, *product};
}

} // namespace brimwell
