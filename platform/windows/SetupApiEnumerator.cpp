#include "platform/windows/SetupApiEnumerator.h"

#include "platform/windows/HardwareId.h"
#include "platform/windows/UsbPrintInterface.h"
#include "platform/windows/WinText.h"

#include <windows.h>

#include <cstddef>
#include <setupapi.h>

namespace brimwell {
namespace {

// The interface detail record: its size field, then the path with its terminating zero in
// at most kDetailPathChars wide characters.
constexpr std::size_t kDetailPathChars = 144;
constexpr DWORD kDetailBufferBytes = static_cast<DWORD>(
    offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) + kDetailPathChars * sizeof(WCHAR));
static_assert(kDetailBufferBytes == 292, "the detail buffer holds a 143-character path");

// Each device registry property is read into a buffer of this many bytes.
constexpr DWORD kPropertyBufferBytes = 4096;

// A string property (the first string of a multi-string one); nullopt when it cannot be read.
std::optional<std::string> ReadProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    // One wide character more than is handed over keeps the text terminated whatever the
    // system leaves in the buffer.
    WCHAR buffer[kPropertyBufferBytes / sizeof(WCHAR) + 1] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(buffer), kPropertyBufferBytes,
                                           nullptr)) {
        return std::nullopt;
    }
    return Utf8FromWide(buffer);
}

// The path and properties of one interface; false when the device is skipped here.
bool ReadInterface(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& iface, RawDeviceInterface* raw) {
    DWORD required = 0;
    if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &required, nullptr) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return false;
    }
    if (required > kDetailBufferBytes) {
        return false;
    }
    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_W) BYTE buffer[kDetailBufferBytes] = {};
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer);
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, kDetailBufferBytes, nullptr,
                                          &device)) {
        return false;
    }
    const WCHAR* path = detail->DevicePath;
    raw->devicePath = Utf8FromWide(std::wstring(path, wcsnlen(path, kDetailPathChars)));
    raw->location = ReadProperty(set, device, SPDRP_LOCATION_INFORMATION);
    // The first hardware identifier names the vendor and product; read here, once.
    if (const std::optional<std::string> hardwareId = ReadProperty(set, device, SPDRP_HARDWAREID)) {
        raw->usbId = UsbIdFromHardwareId(*hardwareId);
    }
    return true;
}

} // namespace

bool SetupApiEnumerator::Enumerate(std::vector<RawDeviceInterface>& out) {
    out.clear();
    const HDEVINFO set = SetupDiGetClassDevsW(&kUsbPrintInterfaceClass, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return false;
    }
    // A skipped device still advances the member index.
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA iface{};
        iface.cbSize = sizeof iface;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &kUsbPrintInterfaceClass, index, &iface)) {
            break;
        }
        RawDeviceInterface raw;
        if (ReadInterface(set, iface, &raw)) {
            out.push_back(std::move(raw));
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return true;
}

} // namespace brimwell
