#pragma once
#include "ui/JobRunner.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <optional>

namespace brimwell {

// The session guard on Linux: a systemd-logind inhibitor lock on shutdown and sleep, in
// "block" mode, taken over the system bus. logind keeps the lock while the file descriptor it
// answers with stays open, so Release closes it.
//
// The window never waits on the bus: Hold sends the call and returns; the descriptor is kept
// when the answer comes, or closed at once when Release came first. Without a system bus, or
// without logind on it, the answer is an error and nothing is held.
class QtSessionGuard final : public ISessionGuard {
public:
    // On the system bus, connected at the first Hold rather than at start-up.
    QtSessionGuard();
    // On `bus` (the tests': a bus of their own with a stand-in for logind).
    explicit QtSessionGuard(const QDBusConnection& bus);

    // One lock at a time: a Hold while holding keeps the lock (and reason) there is.
    void Hold(const std::string& reason) override;
    void Release() override;
    // logind's answer has come with a lock, and no Release since.
    bool Holding() const { return m_lock.isValid(); }

private:
    std::optional<QDBusConnection> m_bus;
    // Parent of the calls waiting for their answer: dropped with the guard.
    QObject m_calls;
    QDBusUnixFileDescriptor m_lock;
    // Between Hold and Release: an answer that comes outside is not kept.
    bool m_wanted = false;
};

} // namespace brimwell
