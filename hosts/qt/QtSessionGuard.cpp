#include "hosts/qt/QtSessionGuard.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace brimwell {
namespace {

const QString kLogindService = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");
// logind answers at once; nothing waits for it, so the bound only frees the call.
constexpr int kInhibitTimeoutMs = 5000;

} // namespace

QtSessionGuard::QtSessionGuard() = default;

QtSessionGuard::QtSessionGuard(const QDBusConnection& bus) : m_bus(bus) {}

void QtSessionGuard::Hold(const std::string& reason) {
    if (m_wanted) {
        return;
    }
    m_wanted = true;
    if (!m_bus) {
        m_bus = QDBusConnection::systemBus();
    }
    if (!m_bus->isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kLogindService, kLogindPath, kLogindManager,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("shutdown:sleep") << QStringLiteral("Brimwell")
         << QString::fromStdString(reason) << QStringLiteral("block");
    auto* answer = new QDBusPendingCallWatcher(m_bus->asyncCall(call, kInhibitTimeoutMs), &m_calls);
    QObject::connect(answer, &QDBusPendingCallWatcher::finished, &m_calls,
                     [this](QDBusPendingCallWatcher* watcher) {
                         const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
                         watcher->deleteLater();
                         if (m_wanted && reply.isValid()) {
                             m_lock = reply.value();
                         }
                         // An answer after Release is not kept: it goes with the watcher,
                         // which closes the descriptor it brought. (After Hold, Release, Hold
                         // the later answer takes the earlier one's place.)
                     });
}

void QtSessionGuard::Release() {
    m_wanted = false;
    m_lock = QDBusUnixFileDescriptor(); // the descriptor closes: logind drops the lock
}

} // namespace brimwell
