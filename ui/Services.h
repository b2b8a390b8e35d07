#pragma once
#include "platform/DeviceEnumerator.h"
#include "platform/DeviceOpener.h"
#include "platform/FileSource.h"
#include "platform/LocalClock.h"
#include "platform/Profile.h"
#include "platform/Ticks.h"
#include "ui/FileDialog.h"
#include "ui/JobRunner.h"
#include "ui/MessageBox.h"
#include "ui/WaitCursor.h"

#include <type_traits>

namespace brimwell {

// The inline job runner and the guard that holds nothing, which every Services starts with.
IJobRunner* InlineJobRunnerService();
ISessionGuard* NoSessionGuardService();

// The platform services the window uses. A program puts the real ones in place at its start
// (UseServices(MakeRealServices())); tests put doubles in their place with ScopedServices. Code
// looks a service up when it uses it, never keeps the pointer, so a swap reaches every caller.
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
    // Where a job's device work runs. A host that keeps its window answering sets its own;
    // left as it is, the work runs inline (the companion, the tests).
    IJobRunner* jobRunner = InlineJobRunnerService();
    // What keeps the session alive while a job runs; left as it is, nothing.
    ISessionGuard* sessionGuard = NoSessionGuardService();
};

Services& GetServices();

// An opener and a tick source that look the current service up at every call, for objects
// built once that must follow a swap (the job of a page).
IDeviceOpener& CurrentDeviceOpener();
ITickSource& CurrentTicks();

// Puts doubles in place of the services for its lifetime. Either all of them at once (every
// member of `all` must be set: a forgotten one would silently leave a real service, such as
// the real profile or a modal box, in a test, so it ends the program instead), or one named
// by its member: ScopedServices ticks(&Services::ticks, &fakeTicks).
class ScopedServices {
public:
    explicit ScopedServices(const Services& all);
    template <class T>
    ScopedServices(T* Services::*member, typename std::common_type<T>::type* value)
        : m_saved(GetServices()) {
        RequireSet(value);
        GetServices().*member = value;
    }
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    static void RequireSet(const void* service);
    Services m_saved;
};

// Makes the real services of this platform: defined once per program, in the file that knows
// which they are.
Services MakeRealServices();
// Puts `all` in place for the rest of the process.
void UseServices(const Services& all);

} // namespace brimwell
