#include "platform/linux/SettingsProfile.h"

#include <QSettings>
#include <QString>

namespace brimwell {
namespace {

QString Key(const std::string& section, const std::string& entry) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(entry);
}

} // namespace

int SettingsProfile::GetInt(const std::string& section, const std::string& entry,
                            int defaultValue) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kProfileOrganization,
                       kProfileApplication);
    const QVariant value = settings.value(Key(section, entry));
    if (!value.isValid()) {
        return defaultValue;
    }
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

bool SettingsProfile::WriteInt(const std::string& section, const std::string& entry, int value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kProfileOrganization,
                       kProfileApplication);
    settings.setValue(Key(section, entry), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace brimwell
