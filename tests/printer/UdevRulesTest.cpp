// The udev rules that open the printers' nodes to the logged-in user must cover exactly the
// devices the utility lists, with values udev can match.
#include "printer/PrinterIdentification.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>

namespace brimwell::test {
namespace {

// ATTRS{idVendor}=="1203" and the like: the key and the quoted value of one match.
std::string MatchValue(const std::string& line, const std::string& key) {
    const std::string escaped = std::regex_replace(key, std::regex(R"([{}*+])"), R"(\$&)");
    const std::regex pattern(escaped + R"re(\s*==\s*"([^"]*)")re");
    std::smatch m;
    return std::regex_search(line, m, pattern) ? m[1].str() : std::string();
}

TEST(UdevRules, TagTheLpNodesOfEveryListedPairForTheSeat) {
    std::ifstream in(BRIMWELL_RULES_FILE);
    ASSERT_TRUE(in) << BRIMWELL_RULES_FILE;
    std::set<std::pair<unsigned, unsigned>> covered;
    std::string line;
    int rules = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        ++rules;
        SCOPED_TRACE(line);
        EXPECT_EQ(MatchValue(line, "SUBSYSTEM"), "usbmisc");
        EXPECT_EQ(MatchValue(line, "KERNEL"), "lp*");
        EXPECT_NE(line.find(R"(TAG+="uaccess")"), std::string::npos);
        const std::string vendor = MatchValue(line, "ATTRS{idVendor}");
        const std::string product = MatchValue(line, "ATTRS{idProduct}");
        // sysfs prints the ids as four lower-case hex digits, and udev compares text.
        const std::regex sysfsHex("[0-9a-f]{4}");
        ASSERT_TRUE(std::regex_match(vendor, sysfsHex)) << vendor;
        ASSERT_TRUE(std::regex_match(product, sysfsHex)) << product;
        covered.emplace(std::stoul(vendor, nullptr, 16), std::stoul(product, nullptr, 16));
    }
    std::set<std::pair<unsigned, unsigned>> listed;
    for (const IdentificationRow& row : IdentificationTable()) {
        listed.emplace(row.id.vendor, row.id.product);
    }
    EXPECT_EQ(covered, listed);
    EXPECT_EQ(rules, static_cast<int>(listed.size()));
}

TEST(UdevRules, SortBeforeTheRulesThatApplyTheTag) {
    // 73-seat-late.rules turns the uaccess tag into access; rules read after it are too late.
    const std::string path = BRIMWELL_RULES_FILE;
    const std::string name = path.substr(path.find_last_of('/') + 1);
    EXPECT_LT(name, "73-seat-late.rules");
    EXPECT_EQ(name.substr(name.size() - 6), ".rules");
}

} // namespace
} // namespace brimwell::test
