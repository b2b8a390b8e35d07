#pragma once
#include "platform/Profile.h"

#include <string>

namespace brimwell {

// The profile in the per-user registry, where the window's QSettings keeps it on Windows:
// entry E of section S is the value E of HKEY_CURRENT_USER\<root>\S, an integer stored as
// REG_DWORD. Values are read as QSettings reads them: a REG_DWORD or REG_QWORD as its number
// (a QWORD only when it fits an int), a string as the decimal number it holds, surrounding
// white space allowed; anything else reads as the default.
class RegistryProfile : public IProfile {
public:
    // root is relative to HKEY_CURRENT_USER; tests use a scratch key of their own.
    explicit RegistryProfile(std::string root = DefaultRoot());
    int GetInt(const std::string& section, const std::string& entry, int defaultValue) override;
    bool WriteInt(const std::string& section, const std::string& entry, int value) override;

    // "Software\QuenmarRuravavereDaz\Brimwell".
    static std::string DefaultRoot();

private:
    std::string m_root;
};

} // namespace brimwell
