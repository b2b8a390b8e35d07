#pragma once
#include "platform/Profile.h"

namespace brimwell {

// The profile in QSettings: organization "QuenmarRuravavereDaz", application "Brimwell".
// On Windows that is HKCU\Software\QuenmarRuravavereDaz\Brimwell; on Linux the INI file
// $XDG_CONFIG_HOME/QuenmarRuravavereDaz/Brimwell.conf.
class SettingsProfile : public IProfile {
public:
    int GetInt(const std::string& section, const std::string& entry, int defaultValue) override;
    bool WriteInt(const std::string& section, const std::string& entry, int value) override;
};

} // namespace brimwell
