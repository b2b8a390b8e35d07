#include "platform/Languages.h"

#include "text/Translate.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace brimwell {
namespace {

// The folder of the running program, from /proc/self/exe; empty when it cannot be read.
std::string ProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) {
        return {};
    }
    path.resize(static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

std::vector<std::string> UserLanguages() {
    return LanguagesFromEnvironment(
        [](const char* name) -> const char* { return std::getenv(name); });
}

std::optional<std::string> ReadCatalogue(const std::string& language) {
    if (language.empty() || language.find('/') != std::string::npos || language[0] == '.') {
        return std::nullopt;
    }
    const std::string file = "/" + language + "/LC_MESSAGES/brimwell.mo";
    if (const char* dir = std::getenv("BRIMWELL_LOCALEDIR"); dir && *dir) {
        return ReadFile(dir + file);
    }
    const std::string folder = ProgramFolder();
    if (!folder.empty()) {
        if (auto bytes = ReadFile(folder + "/../share/locale" + file)) {
            return bytes;
        }
    }
    return ReadFile(std::string(BRIMWELL_INSTALL_LOCALEDIR) + file);
}

std::string UseUserLanguage() {
    return ChooseCatalogue(UserLanguages(), &ReadCatalogue);
}

} // namespace brimwell
