// The window in another language: every job the user can send gives the printer the same bytes
// and the profile the same values as in English, and every text the window shows on the way
// (controls, the function list, message boxes) comes from the catalogue. The pseudo-language
// translates every message of the template, so a text left out of the catalogue, or a byte
// that went through it, shows.
#include "logo/LogoTestSupport.h"
#include "support/BuiltCatalogues.h"
#include "support/FakePlatform.h"
#include "tester/TesterCatalogue.h"
#include "text/Translate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brimwell::test {
namespace {

constexpr const char* kPath = "/dev/usb/lp0";
constexpr int kFirmwareRow = 5;
constexpr int kTesterTypeRow = 6;
constexpr int kDensityRow = 7;
constexpr int kPassLogoRow = 8;
constexpr int kFailLogoRow = 9;
constexpr int kLabelRow = 10;

// What a session left behind: the printer's jobs, the profile's writes, every text shown.
struct Record {
    std::vector<std::string> jobs;
    std::vector<std::string> profileWrites;
    std::vector<std::string> boxes;
    std::vector<std::string> texts; // control texts and list entries, "<where>: <text>"
};

// Every job of the window, in the order a technician setting up a printer would send them.
Record SendEveryJob() {
    FakePlatform platform;
    platform.clock.time = LocalDateTime{2025, 3, 7, 14, 5, 9};
    platform.AddPrinter(kPath);
    const std::string firmware =
        "* v2\r\nDOWNLOAD \"AUTO.BAS\"\r\n10 PRINT 1  \r\n\r\nEOP\r\nMOVE\r\n";
    platform.fileSource.Add("/fw/update.tpl",
                            std::vector<std::uint8_t>(firmware.begin(), firmware.end()));
    platform.fileSource.Add("/logos/pass.bmp", Loadable(MonoDesc({"#..#", ".##.", "#..#"})));
    FakeWindow window;
    Record record;
    const auto keepTexts = [&](const char* where, fake::FakeDialog& dialog) {
        for (const auto& [id, item] : dialog.items) {
            if (!item.text.empty()) {
                record.texts.push_back(std::string(where) + " " + std::to_string(id) + ": " +
                                       item.text);
            }
            for (const std::string& entry : item.strings) {
                record.texts.push_back(std::string(where) + " " + std::to_string(id) +
                                       " entry: " + entry);
            }
        }
    };
    keepTexts("main", window.host);

    window.SelectRow(kTesterTypeRow);
    fake::FakeDialog& tester = window.Page(kTesterTypeRow);
    for (int index = 0; index < kTesterCount; ++index) {
        EXPECT_TRUE(tester.Choose(IDC_TESTER_LIST, index));
        if (TesterUsesUserName(index)) {
            EXPECT_TRUE(tester.Retype(IDC_USER_NAME, "LAB 3 \xc3\xa9"));
        }
        EXPECT_TRUE(tester.Click(IDC_SEND_CONFIGURATION));
    }
    keepTexts("tester type", tester);

    window.SelectRow(kLabelRow);
    fake::FakeDialog& label = window.Page(kLabelRow);
    for (int index = 0; index < kTesterCount; ++index) {
        EXPECT_TRUE(label.Choose(IDC_TESTER_LIST, index));
        EXPECT_TRUE(label.Click(IDC_PASS_LABEL));
        EXPECT_TRUE(label.Click(IDC_FAIL_LABEL));
    }
    keepTexts("label", label);

    window.SelectRow(kDensityRow);
    fake::FakeDialog& density = window.Page(kDensityRow);
    EXPECT_TRUE(density.Scroll(IDC_DENSITY_SLIDER, 12));
    EXPECT_TRUE(density.Click(IDC_SEND_DENSITY));
    keepTexts("density", density);

    for (const int row : {kPassLogoRow, kFailLogoRow}) {
        window.SelectRow(row);
        fake::FakeDialog& logo = window.Page(row);
        keepTexts("logo before a file", logo);
        EXPECT_TRUE(logo.Retype(IDC_LOGO_FILE, "/logos/pass.bmp"));
        EXPECT_TRUE(logo.Click(IDC_LOGO_ROTATE));
        EXPECT_TRUE(logo.Click(IDC_LOGO_INVERT));
        EXPECT_TRUE(logo.Click(IDC_LOGO_SEND));
        keepTexts("logo", logo);
    }

    window.SelectRow(kFirmwareRow);
    fake::FakeDialog& update = window.Page(kFirmwareRow);
    keepTexts("firmware before a file", update);
    EXPECT_TRUE(update.Retype(IDC_FIRMWARE_FILE, "/fw/update.tpl"));
    EXPECT_TRUE(update.Click(IDC_SEND_FIRMWARE));
    // A refused file and a printer that cannot be opened: their messages too.
    EXPECT_TRUE(update.Retype(IDC_FIRMWARE_FILE, "/fw/missing.tpl"));
    keepTexts("firmware", update);
    platform.opener.devices.at(kPath).opens = false;
    platform.opener.devices.at(kPath).reason = "Permission denied";
    window.SelectRow(kLabelRow);
    EXPECT_TRUE(window.Page(kLabelRow).Click(IDC_PASS_LABEL));

    record.jobs = platform.opener.devices.at(kPath).writes;
    for (const auto& [key, value] : platform.profile.writes) {
        record.profileWrites.push_back(key + "=" + std::to_string(value));
    }
    for (const auto& box : platform.box.shown) {
        record.boxes.push_back(box.text);
    }
    return record;
}

// Whether `text` shows the pseudo-language's marks: made from a translated message.
bool Translated(const std::string& text) {
    return text.find('[') != std::string::npos && text.find("\xc2\xb7") != std::string::npos;
}

TEST(TranslatedWindow, EveryJobSendsTheSameBytesAndEveryShownTextIsTranslated) {
    Record english;
    {
        ScopedCatalogue none;
        english = SendEveryJob();
    }
    // 2 jobs per tester type for labels, one configuration each, density, two logos,
    // firmware.
    ASSERT_EQ(english.jobs.size(), static_cast<std::size_t>(3 * kTesterCount + 4));

    for (const char* language : {"qps", "de", "nl", "fr"}) {
        SCOPED_TRACE(language);
        const std::optional<std::string> bytes = BuiltCatalogue(language);
        if (!bytes) {
            ADD_FAILURE() << "no catalogue built for " << language;
            continue;
        }
        ScopedCatalogue catalogue(*bytes, language);
        ASSERT_EQ(CurrentLanguage(), language);
        const Record translated = SendEveryJob();
        EXPECT_EQ(translated.jobs, english.jobs);
        EXPECT_EQ(translated.profileWrites, english.profileWrites);
        ASSERT_EQ(translated.boxes.size(), english.boxes.size());
        ASSERT_EQ(translated.texts.size(), english.texts.size());
        if (std::string(language) != "qps") {
            continue;
        }
        for (const std::string& box : translated.boxes) {
            EXPECT_TRUE(Translated(box)) << box;
        }
        // What is not translated: the user's own entries (file names, the user name), the
        // tester types' names, the printer's device path and the density's number.
        for (std::size_t i = 0; i < translated.texts.size(); ++i) {
            const std::string& text = translated.texts[i];
            const bool own = text.find("/logos/") != std::string::npos ||
                             text.find("/fw/") != std::string::npos ||
                             text.find("LAB 3") != std::string::npos;
            bool testerName = false;
            for (int index = 0; index < kTesterCount; ++index) {
                testerName = testerName || text.find(std::string(": ") +
                                                     TesterDisplayName(index)) != std::string::npos;
            }
            const bool number =
                text.find_first_not_of("0123456789", text.rfind(": ") + 2) == std::string::npos;
            if (!own && !testerName && !number) {
                EXPECT_TRUE(Translated(text)) << text << " (English: " << english.texts[i] << ")";
            }
        }
    }
}

} // namespace
} // namespace brimwell::test
