#include "platform/Services.h"

#include "platform/posix/PosixDeviceOpener.h"
#include "platform/posix/PosixFileSource.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtWaitCursor.h"
#include "platform/qt/SettingsProfile.h"
#include "platform/udev/UdevDevices.h"

#include <cstdio>
#include <cstdlib>

namespace brimwell {
namespace {

Services& Current() {
    static Services services = MakeRealServices();
    return services;
}

} // namespace

Services& GetServices() {
    return Current();
}

namespace {

class ForwardingOpener : public IDeviceOpener {
public:
    std::unique_ptr<IDeviceHandle> OpenForWrite(const std::string& path) override {
        return GetServices().deviceOpener->OpenForWrite(path);
    }
};

class ForwardingTicks : public ITickSource {
public:
    std::uint32_t GetTickCount() override { return GetServices().ticks->GetTickCount(); }
    void Sleep(std::uint32_t ms) override { GetServices().ticks->Sleep(ms); }
};

} // namespace

IDeviceOpener& CurrentDeviceOpener() {
    static ForwardingOpener opener;
    return opener;
}

ITickSource& CurrentTicks() {
    static ForwardingTicks ticks;
    return ticks;
}

ScopedServices::ScopedServices(const Services& all) : m_saved(Current()) {
    for (const void* service :
         {static_cast<const void*>(all.messageBox), static_cast<const void*>(all.profile),
          static_cast<const void*>(all.ticks), static_cast<const void*>(all.clock),
          static_cast<const void*>(all.waitCursor), static_cast<const void*>(all.deviceOpener),
          static_cast<const void*>(all.fileDialog), static_cast<const void*>(all.enumerator),
          static_cast<const void*>(all.monitor), static_cast<const void*>(all.fileSource)}) {
        RequireSet(service);
    }
    Current() = all;
}

void ScopedServices::RequireSet(const void* service) {
    if (!service) {
        std::fputs("ScopedServices: a replacement service is missing\n", stderr);
        std::abort();
    }
}

ScopedServices::~ScopedServices() {
    Current() = m_saved;
}

Services MakeRealServices() {
    // Made once and kept for the life of the process.
    static QtMessageBox messageBox;
    static SettingsProfile profile;
    static SystemTicks ticks;
    static SystemLocalClock clock;
    static QtWaitCursor waitCursor;
    static PosixDeviceOpener deviceOpener;
    static QtFileDialog fileDialog;
    static PosixFileSource fileSource;
    static UdevEnumerator enumerator;
    static UdevMonitor monitor;
    Services s;
    s.messageBox = &messageBox;
    s.profile = &profile;
    s.ticks = &ticks;
    s.clock = &clock;
    s.waitCursor = &waitCursor;
    s.deviceOpener = &deviceOpener;
    s.fileDialog = &fileDialog;
    s.fileSource = &fileSource;
    s.enumerator = &enumerator;
    s.monitor = &monitor;
    return s;
}

} // namespace brimwell
