#pragma once
#include <string>

namespace brimwell {

// The per-user application profile: integers under a section and an entry name.
class IProfile {
public:
    virtual ~IProfile() = default;
    // A missing, unreadable or non-numeric value reads as defaultValue.
    virtual int GetInt(const std::string& section, const std::string& entry, int defaultValue) = 0;
    virtual bool WriteInt(const std::string& section, const std::string& entry, int value) = 0;
};

// Where the profile lives: QSettings' organization and application names, which on Windows
// make the registry key HKEY_CURRENT_USER\Software\QuenmarRuravavereDaz\Brimwell.
inline constexpr const char* kProfileOrganization = "QuenmarRuravavereDaz";
inline constexpr const char* kProfileApplication = "Brimwell";

inline constexpr const char* kProfileSection = "Settings";
inline constexpr const char* kProfileTesterType = "TesterType";

} // namespace brimwell
