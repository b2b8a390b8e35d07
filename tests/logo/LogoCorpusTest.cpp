// The committed logo files: every malformed file gives the status its README lists (this is
// where the readers' refusals are checked), and every fuzzer seed loads.
#include "logo/LogoFmtHandler.h"
#include "logo/LogoTestSupport.h"
#include "platform/linux/PosixFileSource.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace brimwell::test {
namespace {

const std::string kBadDir = std::string(BRIMWELL_SOURCE_DIR) + "/tests/data/logo/bad";
const std::string kSeedDir = std::string(BRIMWELL_SOURCE_DIR) + "/fuzz/corpus/logo";

std::set<std::string> FilesIn(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            if (e->d_name[0] != '.') {
                names.insert(e->d_name);
            }
        }
        ::closedir(d);
    }
    return names;
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    const auto e = s.find_last_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// "| file | status | what it is |" rows of the README's table.
std::map<std::string, std::string> ExpectedStatuses() {
    std::map<std::string, std::string> expected;
    std::ifstream in(kBadDir + "/README.md");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("| ", 0) != 0 || line.rfind("| file ", 0) == 0) {
            continue;
        }
        std::istringstream cells(line.substr(1));
        std::string file, status;
        std::getline(cells, file, '|');
        std::getline(cells, status, '|');
        expected[Trim(file)] = Trim(status);
    }
    return expected;
}

LogoStatus StatusByName(const std::string& name) {
    static const std::map<std::string, LogoStatus> names = {
        {"LOGO_NO_FILE", LOGO_NO_FILE},         {"LOGO_OPEN_FAILED", LOGO_OPEN_FAILED},
        {"LOGO_READ_FAILED", LOGO_READ_FAILED}, {"LOGO_NOT_COMPATIBLE", LOGO_NOT_COMPATIBLE},
        {"LOGO_TOO_LARGE", LOGO_TOO_LARGE},     {"LOGO_NO_MEMORY", LOGO_NO_MEMORY},
        {"LOGO_LOADED_OK", LOGO_LOADED_OK},
    };
    const auto it = names.find(name);
    return it == names.end() ? -1 : it->second;
}

TEST(LogoCorpus, EachFileGivesItsStatus) {
    const auto expected = ExpectedStatuses();
    std::set<std::string> files = FilesIn(kBadDir);
    files.erase("README.md");
    ASSERT_GE(files.size(), 40u);
    for (const auto& [name, status] : expected) {
        EXPECT_TRUE(files.count(name)) << name << " is listed but missing";
    }
    PosixFileSource source;
    CLogoFmtHandler h(source);
    for (const std::string& name : files) {
        const auto it = expected.find(name);
        ASSERT_NE(it, expected.end()) << name << " is not listed in README.md";
        const LogoStatus status = StatusByName(it->second);
        ASSERT_NE(status, -1) << name << ": unknown status " << it->second;
        // The holder is reused from a good image each time, so a failure must clear it.
        const Bytes good = SolidBmp(50, 50);
        h.LoadBytes(good.data(), good.size());
        ASSERT_TRUE(h.IsLoaded());
        h.LoadFile(kBadDir + "/" + name);
        EXPECT_EQ(h.GetStatus(), status) << name;
        EXPECT_EQ(h.GetWidth(), 0) << name;
        EXPECT_EQ(h.GetPcxBlock(-1).size, 0u) << name;
        const Bytes bytes = ReadAll(kBadDir + "/" + name);
        h.LoadBytes(bytes.data(), bytes.size());
        EXPECT_EQ(h.GetStatus(), status) << name << " from memory";
    }
}

TEST(LogoCorpus, FuzzerSeedsLoad) {
    const std::set<std::string> seeds = FilesIn(kSeedDir);
    ASSERT_GE(seeds.size(), 10u);
    fake::MemoryFileSource none;
    CLogoFmtHandler h(none);
    for (const std::string& name : seeds) {
        const Bytes bytes = ReadAll(kSeedDir + "/" + name);
        ASSERT_FALSE(bytes.empty()) << name;
        h.LoadAs(bytes[0] == 'B' ? LogoFormat::Bmp : LogoFormat::Pcx, bytes.data(), bytes.size());
        EXPECT_EQ(h.GetStatus(), LOGO_LOADED_OK) << name;
    }
}

} // namespace
} // namespace brimwell::test
