#pragma once
#include "platform/DeviceEnumerator.h"
#include "platform/DeviceOpener.h"
#include "platform/FileDialog.h"
#include "platform/FileSource.h"
#include "platform/LocalClock.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Ticks.h"
#include "platform/WaitCursor.h"

namespace brimwell {

// The platform services the window uses. The real ones are made on first use; tests put
// doubles in their place with ScopedServices.
struct Services {
    IMessageBox* messageBox = nullptr;
    IProfile* profile = nullptr;
    ITickSource* ticks = nullptr;
    ILocalClock* clock = nullptr;
    IWaitCursor* waitCursor = nullptr;
    IDeviceOpener* deviceOpener = nullptr;
    IFileDialog* fileDialog = nullptr;
    IDeviceEnumerator* enumerator = nullptr;
    IDeviceMonitor* monitor = nullptr;
    IFileSource* fileSource = nullptr;
};

Services& GetServices();

// Replaces the services that are set in `replacement` for its lifetime.
class ScopedServices {
public:
    explicit ScopedServices(const Services& replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services m_saved;
};

// Makes the real services of this platform (the one place that knows which they are).
Services MakeRealServices();

} // namespace brimwell
