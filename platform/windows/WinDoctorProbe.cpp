#include "platform/windows/WinDoctorProbe.h"

#include "platform/windows/HardwareId.h"
#include "platform/windows/UsbPrintInterface.h"
#include "platform/windows/WinText.h"
#include "text/AsciiCase.h"

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>
#include <vector>

namespace brimwell {
namespace {

constexpr DWORD kPropertyBufferBytes = 4096;

// A string property (the first string of a multi-string one); "" when it cannot be read.
std::string Property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    WCHAR buffer[kPropertyBufferBytes / sizeof(WCHAR) + 1] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(buffer), kPropertyBufferBytes,
                                           nullptr)) {
        return "";
    }
    return Utf8FromWide(buffer);
}

std::string InstanceId(HDEVINFO set, SP_DEVINFO_DATA& device) {
    WCHAR buffer[MAX_DEVICE_ID_LEN + 1] = {};
    if (!SetupDiGetDeviceInstanceIdW(set, &device, buffer, MAX_DEVICE_ID_LEN, nullptr)) {
        return "";
    }
    return Utf8FromWide(buffer);
}

bool SameId(const std::string& a, const std::string& b) {
    return AsciiLower(a) == AsciiLower(b);
}

void ReadDevices(const UsbIdFilter& ours, WinBusFacts& bus) {
    const HDEVINFO set =
        SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) {
        return;
    }
    bus.enumerated = true;
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA info{};
        info.cbSize = sizeof info;
        if (!SetupDiEnumDeviceInfo(set, index, &info)) {
            break;
        }
        // An unreadable property reads as "", which is no listed pair.
        const std::optional<UsbId> id = UsbIdFromHardwareId(Property(set, info, SPDRP_HARDWAREID));
        if (!id || !ours(*id)) {
            continue;
        }
        WinUsbDevice device;
        device.usbId = *id;
        device.instanceId = InstanceId(set, info);
        device.description = Property(set, info, SPDRP_FRIENDLYNAME);
        if (device.description.empty()) {
            device.description = Property(set, info, SPDRP_DEVICEDESC);
        }
        device.service = Property(set, info, SPDRP_SERVICE);
        ULONG status = 0;
        ULONG problem = 0;
        if (CM_Get_DevNode_Status(&status, &problem, info.DevInst, 0) == CR_SUCCESS &&
            (status & DN_HAS_PROBLEM)) {
            device.hasProblem = true;
            device.problem = problem;
        }
        bus.devices.push_back(std::move(device));
    }
    SetupDiDestroyDeviceInfoList(set);
}

// Opens the interface for writing and closes it at once: nothing is written.
OpenProbe TryOpen(const std::string& path) {
    OpenProbe probe;
    probe.tried = true;
    const HANDLE h =
        CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        probe.error = static_cast<int>(GetLastError());
        probe.reason = Win32ErrorText(static_cast<unsigned long>(probe.error));
        probe.accessDenied = probe.error == ERROR_ACCESS_DENIED;
        return probe;
    }
    CloseHandle(h);
    probe.opened = true;
    return probe;
}

void ReadInterfaces(WinBusFacts& bus) {
    const HDEVINFO set = SetupDiGetClassDevsW(&kUsbPrintInterfaceClass, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return;
    }
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA iface{};
        iface.cbSize = sizeof iface;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &kUsbPrintInterfaceClass, index, &iface)) {
            break;
        }
        DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &required, nullptr);
        if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            continue;
        }
        std::vector<BYTE> buffer(required + sizeof(WCHAR));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA info{};
        info.cbSize = sizeof info;
        if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, required, nullptr, &info)) {
            continue;
        }
        const std::string owner = InstanceId(set, info);
        for (WinUsbDevice& device : bus.devices) {
            if (!device.printerInterface && SameId(device.instanceId, owner)) {
                device.printerInterface = true;
                device.interfacePath = Utf8FromWide(detail->DevicePath);
                device.open = TryOpen(device.interfacePath);
            }
        }
    }
    SetupDiDestroyDeviceInfoList(set);
}

} // namespace

DoctorFacts WinDoctorProbe::Gather(const UsbIdFilter& ours) {
    DoctorFacts facts;
    facts.windows = true;
    ReadDevices(ours, facts.win);
    if (facts.win.enumerated) {
        ReadInterfaces(facts.win);
    }
    return facts;
}

} // namespace brimwell
