#include "integration/MockUsbBus.h"

#include <umockdev.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace brimwell::test {
namespace {

constexpr const char* kHostController = "/devices/pci0000:00/0000:00:14.0/usb1";

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFFu);
    return text;
}

void RemovePath(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        return;
    }
    if (S_ISDIR(st.st_mode)) {
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

} // namespace

MockUsbBus& MockUsbBus::Get() {
    static MockUsbBus bus;
    return bus;
}

// Asked before a testbed exists, umockdev_in_mock_environment() says no even under the
// wrapper; the wrapper shows itself in LD_PRELOAD.
bool MockUsbBus::Available() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload") != nullptr;
}

MockUsbBus::MockUsbBus() : m_testbed(umockdev_testbed_new()) {
    if (!umockdev_in_mock_environment()) {
        throw std::runtime_error("not running under umockdev-wrapper");
    }
    gchar* root = umockdev_testbed_get_root_dir(m_testbed);
    m_root = root;
    g_free(root);
}

void MockUsbBus::AddFromString(const std::string& description,
                               const std::vector<std::string>& paths) {
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, description.c_str(), &error)) {
        const std::string message = error ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("umockdev: " + message);
    }
    for (const std::string& path : paths) {
        m_added.push_back("/sys" + path);
    }
}

MockUsbDevice MockUsbBus::AddPrinter(unsigned vendor, unsigned product, int port, int lpIndex) {
    const std::string usb = std::string(kHostController) + "/1-" + std::to_string(port);
    const std::string iface = usb + "/1-" + std::to_string(port) + ":1.0";
    const std::string lpName = "lp" + std::to_string(lpIndex);
    const std::string lp = iface + "/usbmisc/" + lpName;
    std::ostringstream d;
    // As umockdev-record writes it: P path, N node (=contents in hex), E property, A attribute.
    d << "P: " << usb << "\n"
      << "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n"
      << "E: PRODUCT=" << std::hex << vendor << "/" << product << "/100" << std::dec << "\n"
      << "A: idVendor=" << Hex4(vendor) << "\nA: idProduct=" << Hex4(product) << "\n"
      << "A: bcdDevice=0100\nA: busnum=1\nA: devnum=" << port + 1 << "\n"
      << "A: devpath=" << port << "\nA: bDeviceClass=00\n\n"
      << "P: " << iface << "\n"
      << "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nE: DRIVER=usblp\n"
      << "L: driver=../../../../../../bus/usb/drivers/usblp\n"
      << "A: bInterfaceClass=07\nA: bInterfaceSubClass=01\nA: bInterfaceProtocol=02\n\n"
      << "P: " << lp << "\n"
      << "N: usb/" << lpName << "=00\n"
      << "E: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/" << lpName << "\n"
      << "E: MAJOR=180\nE: MINOR=" << lpIndex << "\n"
      << "A: dev=180:" << lpIndex << "\n";
    AddFromString(d.str(), {usb, iface, lp});

    MockUsbDevice device{"/sys" + usb, "/sys" + iface, "/sys" + lp, "/dev/usb/" + lpName, lpIndex};
    RestoreNode(device); // empty, so the file holds exactly what is written
    return device;
}

void MockUsbBus::AddPrinterWithoutDriver(unsigned vendor, unsigned product, int port) {
    const std::string usb = std::string(kHostController) + "/1-" + std::to_string(port);
    const std::string iface = usb + "/1-" + std::to_string(port) + ":1.0";
    AddFromString("P: " + usb + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n" +
                      "A: idVendor=" + Hex4(vendor) + "\nA: idProduct=" + Hex4(product) +
                      "\nA: bcdDevice=0100\n\nP: " + iface +
                      "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=07\n",
                  {usb, iface});
}

void MockUsbBus::Unplug(const MockUsbDevice& device) {
    // The kernel announces the removal children first; the sysfs entries are gone by the
    // time a listener looks.
    Uevent(device.lp, "remove");
    Uevent(device.interface, "remove");
    Uevent(device.usbDevice, "remove");
    for (const std::string* path : {&device.lp, &device.interface, &device.usbDevice}) {
        Remove(*path);
    }
}

void MockUsbBus::Remove(const std::string& syspath) {
    if (access((m_root + syspath).c_str(), F_OK) == 0) {
        umockdev_testbed_remove_device(m_testbed, syspath.c_str());
    }
    m_added.erase(std::remove(m_added.begin(), m_added.end(), syspath), m_added.end());
}

void MockUsbBus::PlugMemoryStick() {
    // umockdev leaves /sys/block/<name> behind on removal: every stick gets a new name.
    const int index = m_sticks++ % 24;
    const std::string name = "sd" + std::string(1, static_cast<char>('b' + index));
    const std::string path = std::string(kHostController) + "/1-9/1-9:1.0/host" +
                             std::to_string(index) + "/block/" + name;
    AddFromString("P: " + path + "\nN: " + name + "=00\nE: SUBSYSTEM=block\nE: DEVTYPE=disk\n" +
                      "E: DEVNAME=/dev/" + name + "\nA: dev=8:" + std::to_string(16 * (index + 1)) +
                      "\n",
                  {path});
}

void MockUsbBus::PlugHidDevice(int port, int hiddevIndex) {
    const std::string usb = std::string(kHostController) + "/1-" + std::to_string(port);
    const std::string iface = usb + "/1-" + std::to_string(port) + ":1.0";
    const std::string name = "hiddev" + std::to_string(hiddevIndex);
    const std::string node = iface + "/usbmisc/" + name;
    AddFromString("P: " + usb + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n" +
                      "A: idVendor=046d\nA: idProduct=c077\nA: bcdDevice=7200\n\n" + "P: " + iface +
                      "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\n" + "P: " + node +
                      "\nN: usb/" + name + "=00\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/" +
                      name + "\nA: dev=180:" + std::to_string(96 + hiddevIndex) + "\n",
                  {usb, iface, node});
}

void MockUsbBus::Uevent(const std::string& syspath, const char* action) {
    umockdev_testbed_uevent(m_testbed, syspath.c_str(), action);
}

std::string MockUsbBus::NodeFile(const MockUsbDevice& device) const {
    return m_root + device.node;
}

std::string MockUsbBus::ReadNode(const MockUsbDevice& device) const {
    std::ifstream in(NodeFile(device), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void MockUsbBus::MakeNodeVanish(const MockUsbDevice& device) {
    // A missing file would fall through to the real /dev; a dangling link does not.
    const std::string file = NodeFile(device);
    RemovePath(file);
    if (symlink((m_root + "/nonexistent-node").c_str(), file.c_str()) != 0) {
        throw std::runtime_error("cannot replace " + file);
    }
}

void MockUsbBus::MakeNodeUnwritable(const MockUsbDevice& device) {
    const std::string file = NodeFile(device);
    RemovePath(file);
    if (mkdir(file.c_str(), 0555) != 0) {
        throw std::runtime_error("cannot replace " + file);
    }
}

void MockUsbBus::RestoreNode(const MockUsbDevice& device) {
    const std::string file = NodeFile(device);
    RemovePath(file);
    std::ofstream(file, std::ios::binary | std::ios::trunc).flush();
}

// Devices are removed one by one, children first. umockdev_testbed_clear would also take
// away the socket through which opened nodes are served, and no node could be opened again.
void MockUsbBus::Clear() {
    while (!m_added.empty()) {
        Remove(m_added.back());
    }
}

} // namespace brimwell::test
