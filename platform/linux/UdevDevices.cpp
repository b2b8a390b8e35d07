#include "platform/linux/UdevDevices.h"

#include "platform/linux/UdevEvents.h"

#include <QSocketNotifier>
#include <cerrno>
#include <libudev.h>

namespace brimwell {
namespace {

constexpr int kReceiveBufferBytes = 1024 * 1024;

std::string Str(const char* s) {
    return s ? std::string(s) : std::string();
}

RawDeviceInterface Describe(udev_device* dev) {
    RawDeviceInterface raw;
    raw.devicePath = Str(udev_device_get_devnode(dev));
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(dev, "usb", "usb_device");
    if (!usb) {
        return raw;
    }
    // The location is the USB bus and port path of the device, its kernel name ("1-1.4":
    // bus 1, port 4 of the hub on port 1). It names where the device is plugged in, as
    // the location information does on other systems.
    if (const char* port = udev_device_get_sysname(usb)) {
        raw.location = std::string(port);
    }
    raw.usbId = UsbIdFromAttributes(udev_device_get_sysattr_value(usb, "idVendor"),
                                    udev_device_get_sysattr_value(usb, "idProduct"));
    return raw;
}

} // namespace

bool UdevEnumerator::Enumerate(std::vector<RawDeviceInterface>& out) {
    out.clear();
    udev* u = udev_new();
    if (!u) {
        return false;
    }
    bool ok = false;
    if (udev_enumerate* e = udev_enumerate_new(u)) {
        udev_enumerate_add_match_subsystem(e, "usbmisc");
        udev_enumerate_add_match_sysname(e, "lp*");
        if (udev_enumerate_scan_devices(e) >= 0) {
            ok = true;
            udev_list_entry* entry;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
                // A device removed since the scan cannot be opened and is left out.
                udev_device* dev = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
                if (!dev) {
                    continue;
                }
                if (IsPrinterInterface(Str(udev_device_get_subsystem(dev)),
                                       Str(udev_device_get_sysname(dev)))) {
                    RawDeviceInterface raw = Describe(dev);
                    if (!raw.devicePath.empty()) {
                        out.push_back(std::move(raw));
                    }
                }
                udev_device_unref(dev);
            }
        }
        udev_enumerate_unref(e);
    }
    udev_unref(u);
    return ok;
}

struct UdevMonitor::Impl {
    udev* u = nullptr;
    udev_monitor* monitor = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> handler;

    bool Start() {
        u = udev_new();
        if (!u) {
            return false;
        }
        monitor = udev_monitor_new_from_netlink(u, "udev");
        if (!monitor) {
            return false;
        }
        if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "usbmisc", nullptr) < 0 ||
            udev_monitor_enable_receiving(monitor) < 0) {
            return false;
        }
        // Room for a burst of events (a hub with several printers, a flaky cable). If the
        // system refuses, the default stays; an overrun is caught in Drain.
        udev_monitor_set_receive_buffer_size(monitor, kReceiveBufferBytes);
        const int fd = udev_monitor_get_fd(monitor);
        if (fd < 0) {
            return false;
        }
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] { Drain(); });
        return true;
    }

    void Stop() {
        notifier.reset();
        if (monitor) {
            udev_monitor_unref(monitor);
            monitor = nullptr;
        }
        if (u) {
            udev_unref(u);
            u = nullptr;
        }
    }

    // Reads every queued event; what is still queued after an overrun wakes the notifier again.
    void Drain() {
        const bool rebuild = DrainNeedsRebuild([this] {
            MonitorRead read;
            errno = 0;
            udev_device* dev = udev_monitor_receive_device(monitor);
            read.error = errno;
            if (dev) {
                read.got = true;
                read.ours = IsPrinterInterfaceEvent(Str(udev_device_get_action(dev)),
                                                    Str(udev_device_get_subsystem(dev)),
                                                    Str(udev_device_get_sysname(dev)));
                udev_device_unref(dev);
            }
            return read;
        });
        if (rebuild && handler) {
            handler();
        }
    }
};

UdevMonitor::UdevMonitor() : m_impl(std::make_unique<Impl>()) {}

UdevMonitor::~UdevMonitor() {
    m_impl->Stop();
}

void UdevMonitor::SetChangeHandler(std::function<void()> handler) {
    m_impl->handler = std::move(handler);
    if (!m_impl->handler) {
        m_impl->Stop();
        return;
    }
    if (!m_impl->notifier) {
        if (!m_impl->Start()) {
            m_impl->Stop();
        }
    }
}

bool UdevMonitor::IsListening() const {
    return m_impl->notifier != nullptr;
}

} // namespace brimwell
