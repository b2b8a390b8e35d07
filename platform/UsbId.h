#pragma once
#include <cstdint>

namespace brimwell {

// A USB device's vendor and product numbers (its idVendor and idProduct), as the system
// reports them; what identification is decided on.
struct UsbId {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
};

inline bool operator==(UsbId a, UsbId b) {
    return a.vendor == b.vendor && a.product == b.product;
}

inline bool operator!=(UsbId a, UsbId b) {
    return !(a == b);
}

} // namespace brimwell
