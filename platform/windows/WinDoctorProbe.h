#pragma once
#include "platform/PrinterDoctor.h"

namespace brimwell {

// What `doctor` reads on Windows: the present USB devices with one of our hardware
// identifiers (SetupAPI), each one's problem code (CM_Get_DevNode_Status), its driver service,
// and whether it offers the USB printer interface, which is opened for writing (and closed at
// once, nothing written) to learn whether it can be.
class WinDoctorProbe : public IDoctorProbe {
public:
    DoctorFacts Gather(const UsbIdFilter& ours) override;
};

} // namespace brimwell
