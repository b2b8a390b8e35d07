#include "ui/Services.h"

#include <cstdio>
#include <cstdlib>

namespace brimwell {
namespace {

Services& Current() {
    static Services services;
    return services;
}

} // namespace

IJobRunner* InlineJobRunnerService() {
    static InlineJobRunner inlineRunner;
    return &inlineRunner;
}

ISessionGuard* NoSessionGuardService() {
    static NoSessionGuard none;
    return &none;
}

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

void UseServices(const Services& all) {
    Current() = all;
}

ScopedServices::~ScopedServices() {
    Current() = m_saved;
}

} // namespace brimwell
