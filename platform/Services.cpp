#include "platform/Services.h"

#include "platform/posix/PosixDeviceOpener.h"
#include "platform/posix/PosixFileSource.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtWaitCursor.h"
#include "platform/qt/SettingsProfile.h"
#include "platform/udev/UdevDevices.h"

namespace brimwell {
namespace {

Services& Current() {
    static Services services = MakeRealServices();
    return services;
}

template <class T>
void Take(T*& target, T* value) {
    if (value) {
        target = value;
    }
}

} // namespace

Services& GetServices() {
    return Current();
}

ScopedServices::ScopedServices(const Services& replacement) : m_saved(Current()) {
    Services& s = Current();
    Take(s.messageBox, replacement.messageBox);
    Take(s.profile, replacement.profile);
    Take(s.ticks, replacement.ticks);
    Take(s.clock, replacement.clock);
    Take(s.waitCursor, replacement.waitCursor);
    Take(s.deviceOpener, replacement.deviceOpener);
    Take(s.fileDialog, replacement.fileDialog);
    Take(s.fileSource, replacement.fileSource);
    Take(s.enumerator, replacement.enumerator);
    Take(s.monitor, replacement.monitor);
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
