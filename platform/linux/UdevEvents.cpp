#include "platform/linux/UdevEvents.h"

#include <cerrno>

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

std::string MakeHardwareId(const std::string& idVendor, const std::string& idProduct,
                           const std::string& bcdDevice) {
    auto upper = [](std::string s) {
        for (char& c : s) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return s;
    };
    std::string id = "USB\\VID_" + upper(idVendor) + "&PID_" + upper(idProduct);
    if (!bcdDevice.empty()) {
        id += "&REV_" + upper(bcdDevice);
    }
    return id;
}

} // namespace brimwell
