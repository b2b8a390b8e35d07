#pragma once
// A USB bus emulated with umockdev: printers with their usblp interface and /dev/usb/lpN
// node, other devices, and the uevents that udev would broadcast for them. The program must
// run under umockdev-wrapper, and the bus must be created before anything asks udev or the
// preload library about the system: the preload library decides once whether it emulates.
#include <string>
#include <vector>

struct _UMockdevTestbed;

namespace brimwell::test {

struct MockUsbDevice {
    std::string usbDevice; // sysfs path of the USB device, "/sys/devices/.../1-2"
    std::string interface; // its usblp interface, "/sys/devices/.../1-2:1.0"
    std::string lp;        // the usbmisc node's device, "/sys/devices/.../usbmisc/lp0"
    std::string node;      // "/dev/usb/lp0", as the program sees it
    int lpIndex = 0;
};

class MockUsbBus {
public:
    // The bus of this process, made on the first call.
    static MockUsbBus& Get();
    // Whether the program runs under umockdev-wrapper, so that a bus can be made.
    static bool Available();

    // Adds a USB device with a printer-class interface on port `port` of bus 1, whose usblp
    // node is /dev/usb/lp<lpIndex>. The node is an empty plain file, so what a job writes
    // can be read back. umockdev announces each added device with an "add" uevent, as the
    // kernel does on hot-plug; a device added before any monitor exists is simply present.
    MockUsbDevice AddPrinter(unsigned vendor, unsigned product, int port, int lpIndex);
    // A printer on port `port` of bus 1 whose printer-class interface has no driver bound, so
    // no node: what the bus shows when usblp is not loaded.
    void AddPrinterWithoutDriver(unsigned vendor, unsigned product, int port);
    // Sends "remove" for the node, the interface and the USB device, then takes them away.
    void Unplug(const MockUsbDevice& device);

    // Devices that are not printers, announced with "add" uevents: a memory stick (block),
    // or a HID device whose node shares the usbmisc subsystem with printers.
    void PlugMemoryStick();
    void PlugHidDevice(int port, int hiddevIndex);
    // A uevent with this action for an existing device ("change", ...).
    void Uevent(const std::string& syspath, const char* action);

    // The file behind a node, in the testbed.
    std::string NodeFile(const MockUsbDevice& device) const;
    std::string ReadNode(const MockUsbDevice& device) const;
    // Replaces the node with something a job cannot open for writing.
    void MakeNodeVanish(const MockUsbDevice& device);     // a dangling link: ENOENT
    void MakeNodeUnwritable(const MockUsbDevice& device); // a directory: EISDIR, even for root
    void RestoreNode(const MockUsbDevice& device);        // an empty plain file again

    // Removes every device added so far (and any node left behind).
    void Clear();

private:
    MockUsbBus();
    // Adds the devices of a umockdev-record description; `paths` are their sysfs paths
    // (without "/sys"), parents first, remembered for Clear.
    void AddFromString(const std::string& description, const std::vector<std::string>& paths);
    void Remove(const std::string& syspath);
    _UMockdevTestbed* m_testbed;
    std::string m_root;
    std::vector<std::string> m_added; // sysfs paths, in the order added
    int m_sticks = 0;
};

} // namespace brimwell::test
