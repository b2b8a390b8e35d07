#include "platform/linux/LinuxDoctorProbe.h"

#include "platform/linux/UdevEvents.h"
#include "text/AsciiCase.h"
#include "text/Translate.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <libudev.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace brimwell {
namespace {

// The folders udev reads rules from, and those modprobe reads its configuration from.
const char* const kRuleDirs[] = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                 "/usr/local/lib/udev/rules.d", "/usr/lib/udev/rules.d",
                                 "/lib/udev/rules.d"};
const char* const kModprobeDirs[] = {"/etc/modprobe.d", "/run/modprobe.d",
                                     "/usr/local/lib/modprobe.d", "/usr/lib/modprobe.d",
                                     "/lib/modprobe.d"};

std::string Str(const char* s) {
    return s ? std::string(s) : std::string();
}

// The names in a folder ending with `suffix`, sorted; none when it cannot be read.
std::vector<std::string> FilesIn(const std::string& dir, const std::string& suffix) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name.size() > suffix.size() &&
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
                names.push_back(name);
            }
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Whether a modprobe.d line keeps usblp from loading: "blacklist usblp", or an install
// command for it that does nothing.
bool BlocksUsblp(const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    std::string module;
    words >> verb >> module;
    if (module != "usblp") {
        return false;
    }
    if (verb == "blacklist") {
        return true;
    }
    std::string command;
    words >> command;
    return verb == "install" && (command == "/bin/false" || command == "/bin/true" ||
                                 command == "/usr/bin/false" || command == "/usr/bin/true");
}

std::vector<std::string> UsblpBlacklists() {
    std::vector<std::string> files;
    for (const char* dir : kModprobeDirs) {
        for (const std::string& name : FilesIn(dir, ".conf")) {
            const std::string path = std::string(dir) + "/" + name;
            std::istringstream lines(ReadText(path));
            std::string line;
            while (std::getline(lines, line)) {
                if (BlocksUsblp(line)) {
                    files.push_back(path);
                    break;
                }
            }
        }
    }
    return files;
}

// Rule files naming our devices: the packaged 70-brimwell.rules, or any rule file naming
// the printer's vendor and product.
std::vector<std::string> InstalledRules() {
    std::vector<std::string> files;
    for (const char* dir : kRuleDirs) {
        for (const std::string& name : FilesIn(dir, ".rules")) {
            const std::string path = std::string(dir) + "/" + name;
            const std::string text = AsciiLower(ReadText(path));
            if (name == "70-brimwell.rules" || (text.find("\"1203\"") != std::string::npos &&
                                                text.find("\"0126\"") != std::string::npos)) {
                files.push_back(path);
            }
        }
    }
    return files;
}

// Whether the node's POSIX access-control list has an entry for `uid` allowing writes (what
// udev's uaccess tag adds for the user of the active session). The extended attribute holds
// a 4-byte version, then 8-byte entries: tag (16 bits), permissions (16 bits), id (32 bits).
bool AclLetsUserWrite(const std::string& node, uid_t uid) {
    unsigned char buffer[1024];
    const ssize_t size = getxattr(node.c_str(), "system.posix_acl_access", buffer, sizeof buffer);
    constexpr std::uint16_t kAclUser = 0x02;
    constexpr std::uint16_t kAclWrite = 0x02;
    for (ssize_t at = 4; at + 8 <= size; at += 8) {
        const auto tag = static_cast<std::uint16_t>(buffer[at] | buffer[at + 1] << 8);
        const auto perm = static_cast<std::uint16_t>(buffer[at + 2] | buffer[at + 3] << 8);
        const std::uint32_t id = buffer[at + 4] | buffer[at + 5] << 8 | buffer[at + 6] << 16 |
                                 static_cast<std::uint32_t>(buffer[at + 7]) << 24;
        if (tag == kAclUser && id == uid && (perm & kAclWrite)) {
            return true;
        }
    }
    return false;
}

void ReadAccess(PosixUsbDevice& device, const std::string& user) {
    struct stat st {};
    if (stat(device.node.c_str(), &st) != 0) {
        return;
    }
    device.groupWritable = (st.st_mode & S_IWGRP) != 0;
    device.aclForUser = AclLetsUserWrite(device.node, getuid());
    const group* g = getgrgid(st.st_gid);
    device.nodeGroup = g ? Str(g->gr_name) : std::to_string(st.st_gid);
    if (g) {
        for (char** member = g->gr_mem; *member; ++member) {
            device.inGroupListed = device.inGroupListed || user == *member;
        }
    }
    if (const passwd* pw = getpwuid(getuid())) {
        device.inGroupListed = device.inGroupListed || pw->pw_gid == st.st_gid;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    const int count = getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    device.inGroupNow = getegid() == st.st_gid ||
                        std::find(groups.begin(), groups.end(), st.st_gid) != groups.end();
}

// A process as the doctor names it, in the current catalogue's language: "cupsd (pid 812)".
std::string ProcessText(const std::string& name, const std::string& pid) {
    // TRANSLATORS: a process holding the printer: %1$s is its name, %2$s its process id.
    const char* format = Tr("%1$s (pid %2$s)");
    const int length = std::snprintf(nullptr, 0, format, name.c_str(), pid.c_str());
    if (length <= 0) {
        return name + " (pid " + pid + ")";
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, name.c_str(), pid.c_str());
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// Other processes whose open files this user can read in /proc and that hold the node.
std::vector<std::string> Holders(const std::string& node) {
    std::vector<std::string> holders;
    char real[4096];
    const std::string target = realpath(node.c_str(), real) ? std::string(real) : node;
    const std::string self = std::to_string(getpid());
    DIR* proc = opendir("/proc");
    if (!proc) {
        return holders;
    }
    while (const dirent* e = readdir(proc)) {
        const std::string pid = e->d_name;
        if (pid.empty() ||
            !std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            pid == self) {
            continue;
        }
        const std::string fdDir = "/proc/" + pid + "/fd";
        DIR* fds = opendir(fdDir.c_str());
        if (!fds) {
            continue;
        }
        bool holds = false;
        while (const dirent* f = readdir(fds)) {
            char link[4096];
            const std::string fd = fdDir + "/" + f->d_name;
            const ssize_t n = readlink(fd.c_str(), link, sizeof link - 1);
            if (n > 0) {
                const std::string path(link, static_cast<std::size_t>(n));
                holds = holds || path == target || path == node;
            }
        }
        closedir(fds);
        if (holds) {
            std::string name = ReadText("/proc/" + pid + "/comm");
            name.erase(std::remove(name.begin(), name.end(), '\n'), name.end());
            holders.push_back(ProcessText(name, pid));
        }
    }
    closedir(proc);
    return holders;
}

// The first child of `parent` in `subsystem` (and of `devtype`, when given) passing `keep`.
template <class Keep>
udev_device* FindChild(udev* u, udev_device* parent, const char* subsystem, Keep keep) {
    udev_device* found = nullptr;
    udev_enumerate* e = udev_enumerate_new(u);
    if (!e) {
        return nullptr;
    }
    udev_enumerate_add_match_parent(e, parent);
    udev_enumerate_add_match_subsystem(e, subsystem);
    if (udev_enumerate_scan_devices(e) >= 0) {
        udev_list_entry* entry;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
            udev_device* dev = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
            if (dev && !found && keep(dev)) {
                found = dev;
            } else if (dev) {
                udev_device_unref(dev);
            }
        }
    }
    udev_enumerate_unref(e);
    return found;
}

void Describe(udev* u, udev_device* usb, PosixUsbDevice& device) {
    udev_device* iface = FindChild(u, usb, "usb", [](udev_device* d) {
        return Str(udev_device_get_devtype(d)) == "usb_interface" &&
               Str(udev_device_get_sysattr_value(d, "bInterfaceClass")) == "07";
    });
    if (!iface) {
        return;
    }
    device.printerInterface = true;
    device.driver = Str(udev_device_get_driver(iface));
    if (udev_device* lp = FindChild(u, iface, "usbmisc", [](udev_device* d) {
            return IsPrinterInterface("usbmisc", Str(udev_device_get_sysname(d))) &&
                   udev_device_get_devnode(d);
        })) {
        device.node = Str(udev_device_get_devnode(lp));
        udev_device_unref(lp);
    }
    udev_device_unref(iface);
}

} // namespace

DoctorFacts LinuxDoctorProbe::Gather(const UsbIdFilter& ours) {
    DoctorFacts facts;
    PosixBusFacts& bus = facts.posix;
    if (const passwd* pw = getpwuid(getuid())) {
        bus.user = Str(pw->pw_name);
    }
    struct stat st {};
    bus.usblpLoaded = stat("/sys/module/usblp", &st) == 0;
    bus.blacklists = UsblpBlacklists();
    bus.rules = InstalledRules();

    udev* u = udev_new();
    if (!u) {
        return facts;
    }
    if (udev_enumerate* e = udev_enumerate_new(u)) {
        udev_enumerate_add_match_subsystem(e, "usb");
        udev_enumerate_add_match_property(e, "DEVTYPE", "usb_device");
        if (udev_enumerate_scan_devices(e) >= 0) {
            bus.enumerated = true;
            udev_list_entry* entry;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
                udev_device* usb = udev_device_new_from_syspath(u, udev_list_entry_get_name(entry));
                if (!usb) {
                    continue;
                }
                const std::optional<UsbId> id =
                    UsbIdFromAttributes(udev_device_get_sysattr_value(usb, "idVendor"),
                                        udev_device_get_sysattr_value(usb, "idProduct"));
                if (id && ours(*id)) {
                    PosixUsbDevice device;
                    device.usbId = *id;
                    device.position = Str(udev_device_get_sysname(usb));
                    Describe(u, usb, device);
                    bus.devices.push_back(std::move(device));
                }
                udev_device_unref(usb);
            }
        }
        udev_enumerate_unref(e);
    }
    udev_unref(u);

    for (PosixUsbDevice& device : bus.devices) {
        if (device.node.empty()) {
            continue;
        }
        // Opened to learn whether it can be, and closed at once: nothing is written.
        device.open.tried = true;
        errno = 0;
        const int fd =
            m_calls.Open(device.node.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
        device.open.error = fd >= 0 ? 0 : errno;
        if (fd >= 0) {
            device.open.opened = true;
            close(fd);
        }
        device.open.reason = ErrnoText(device.open.error);
        device.open.accessDenied = device.open.error == EACCES || device.open.error == EPERM;
        ReadAccess(device, bus.user);
        device.holders = Holders(device.node);
    }
    return facts;
}

} // namespace brimwell
