// brimwell-cli in another language: its human texts translated and laid out to fit, while what
// programs read (--json) and what printers get (every job's bytes) stay the same.
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/Doctor.h"
#include "logo/LogoTestSupport.h"
#include "support/BuiltCatalogues.h"
#include "support/CliHarness.h"
#include "support/MoFile.h"
#include "tester/TesterCatalogue.h"
#include "text/Translate.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace brimwell::test {
namespace {

using namespace brimwell::cli;
using Entries = std::vector<std::pair<std::string, std::string>>;

// The catalogues the build compiled, by language (the pseudo-language too).
std::map<std::string, std::string> BuiltCatalogues() {
    std::map<std::string, std::string> catalogues;
    for (const std::string& language : BuiltLanguages()) {
        if (const auto bytes = BuiltCatalogue(language); bytes && !bytes->empty()) {
            catalogues[language] = *bytes;
        }
    }
    return catalogues;
}

// German in miniature: messages of the companion and of the core it shows, as markers.
const Entries kMarkers = {
    {"Try 'brimwell-cli --help'.", "VERSUCH 'brimwell-cli --help'."},
    {"Brimwell printer", "BRIMWELL-DRUCKER"},
    {"%s takes no arguments but --json", "%s NIMMT NUR --json"},
    {"usb %s", "USB-PRÜFUNG %s"},
    {"%1$s at USB port %2$s", "AN PORT %2$s: %1$s"},
    {"driver %s", "TREIBER %s"},
    {"this user (%1$s) cannot open %2$s for writing: %3$s", "%1$s DARF %2$s NICHT: %3$s"},
    {"%s is present", "%s IST DA"},
    {std::string("verdict\x04ok"), "GEPRÜFT"}, // seven columns in eight bytes
    {std::string("verdict\x04warning"), "WARNUNG"},
    {std::string("verdict\x04"
                 "failed"),
     "GESCHEITERT"},
    {"To do: %s", "ZU TUN: %s"},
    {"ready: a printer can be written", "BEREIT"},
};

class FixedProbe : public IDoctorProbe {
public:
    DoctorFacts Gather(const UsbIdFilter&) override { return facts; }
    DoctorFacts facts;
};

std::vector<DoctorFacts> DoctorSituations() {
    DoctorFacts posix;
    posix.posix.enumerated = true;
    posix.posix.user = "tech";
    posix.posix.usblpLoaded = true;
    PosixUsbDevice d;
    d.position = "1-1";
    d.usbId = {0x1203, 0x0126};
    d.printerInterface = true;
    d.driver = "usblp";
    d.node = "/dev/usb/lp0";
    d.open = {true, false, 13, "Permission denied", true};
    d.holders = {"cupsd (pid 812)"};
    posix.posix.devices = {d};
    DoctorFacts win;
    win.windows = true;
    win.win.enumerated = true;
    WinUsbDevice w;
    w.instanceId = "USB\\VID_1203&PID_0126\\5&1";
    w.usbId = {0x1203, 0x0126};
    w.service = "usbprint";
    w.printerInterface = true;
    w.interfacePath = "\\\\?\\usb#vid_1203&pid_0126#5&1";
    w.open.opened = true;
    win.win.devices = {w};
    return {posix, win, DoctorFacts{}};
}

struct CliLanguage : ::testing::Test, CliHarness {
    // Status, standard output and standard error of a command line.
    std::string Capture(const std::vector<std::string>& args) {
        const int status = Exec(args);
        return std::to_string(status) + "\n" + out.str() + "\n" + err.str();
    }
};

TEST_F(CliLanguage, JsonIsTheSameInEveryLanguageWhileTheHumanTextIsTranslated) {
    FixedProbe probe;
    services.doctor = &probe;
    enumerator.devices = {fake::FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126),
                          fake::FakeEnumerator::Usb("/dev/usb/lp1", 0x067B, 0x2305)};
    const std::string german = MoFile(kMarkers);
    const std::vector<std::vector<std::string>> jsonLines = {
        {"list", "--json"}, {"doctor", "--json"}, {"list", "--json", "extra"}};
    for (const DoctorFacts& facts : DoctorSituations()) {
        probe.facts = facts;
        std::vector<std::string> english;
        for (const auto& args : jsonLines) {
            english.push_back(Capture(args));
        }
        const std::string text = Capture({"doctor"});
        const ScopedCatalogue de(german, "de");
        for (std::size_t i = 0; i < jsonLines.size(); ++i) {
            EXPECT_EQ(Capture(jsonLines[i]), english[i]);
        }
        EXPECT_NE(Capture({"doctor"}), text);
        // The texts of the doctor's lines start in one column after the longest verdict.
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line) && line != "BEREIT";) {
            const std::size_t at = line.find_first_not_of(' ', line.find(' '));
            EXPECT_EQ(Columns(line.substr(0, at)), Columns("GESCHEITERT") + 2) << line;
        }
    }
    EXPECT_NE(Capture({"list", "--json"}).find("\"name\":\"Brimwell printer\""), std::string::npos);
    const ScopedCatalogue de(german, "de");
    EXPECT_NE(Capture({"list"}).find("1\tBRIMWELL-DRUCKER\t/dev/usb/lp0\n"), std::string::npos);
    EXPECT_EQ(Capture({"list", "extra"}), "2\n\nbrimwell-cli: list NIMMT NUR --json\n"
                                          "brimwell-cli: usage: brimwell-cli list [--json]\n"
                                          "brimwell-cli: VERSUCH 'brimwell-cli --help'.\n");
}

// Every job, and the list of tester types, with the words a catalogue might hold for them.
TEST_F(CliLanguage, EveryJobIsTheSameByteForByteInEveryLanguage) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("brimwell-cli-language-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    const std::string logo = (folder / "logo.bmp").string();
    const Bytes bmp = Loadable(MonoDesc({"#..#.", ".##..", "#...#"}));
    std::ofstream(logo, std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    const std::string firmware = (folder / "update.tpl").string();
    std::ofstream(firmware, std::ios::binary)
        << "* v2\r\nDOWNLOAD \"AUTO.BAS\"\r\n10 PRINT 1  \r\n\r\nEOP\r\nMOVE\r\n";
    outputs.Add("job.bin");
    outputs.Add("logo.pcx");
    printers.Add("/dev/usb/lp0");
    enumerator.devices = {fake::FakeEnumerator::Usb("/dev/usb/lp0", 0x1203, 0x0126)};
    clock.time = LocalDateTime{2025, 3, 7, 14, 5, 9};
    std::vector<std::vector<std::string>> jobs = {
        {"testers"},
        {"-o", "job.bin", "tester-type", "--tester", "4", "--user-name", "LAB 3 \xc3\xa9"},
        {"-o", "job.bin", "density", "7"},
        {"-o", "job.bin", "clock", "--at", "2024-02-29 23:59:59"},
        {"-o", "job.bin", "logo", "pass", logo, "--rotate", "--invert"},
        {"-o", "job.bin", "logo", "fail", logo},
        {"logo", "pass", logo, "--pcx", "logo.pcx"},
        {"-o", "job.bin", "firmware", firmware},
        {"--all", "clock"},
    };
    Entries words = {{"MODE.MOD", "MODUS.MOD"}, {"LOGO1.PCX", "LOGO1.DE"},
                     {"FAIL.PCX", "FEHL.PCX"},  {"AUTO.BAS", "AUTO.DE"},
                     {"TEST LABEL", "ETIKETT"}, {"END OF DATA", "ENDE"},
                     {"PASS", "BESTANDEN"},     {"MAR", "MÄR"}};
    for (int i = 0; i < kTesterCount; ++i) {
        // Each type by its name, typed in English whatever the language.
        jobs.push_back({"-o", "job.bin", "tester-type", "--tester", TesterDisplayName(i)});
        jobs.push_back({"-o", "job.bin", "label", "pass", "--tester", TesterDisplayName(i)});
        words.emplace_back(TesterDisplayName(i), "Prüfer " + std::to_string(i));
    }
    const auto session = [&] {
        std::vector<std::string> record;
        for (const auto& args : jobs) {
            ClearWrites();
            EXPECT_EQ(Exec(args), EXIT_DONE) << args.back() << ": " << err.str();
            EXPECT_EQ(out.str().empty(), AllWrites().size() == 1) << args.back();
            record.push_back(out.str());
            for (const std::string& write : AllWrites()) {
                record.push_back(write);
            }
        }
        return record;
    };
    const std::vector<std::string> english = session();
    std::map<std::string, std::string> catalogues = BuiltCatalogues();
    catalogues["job words"] = MoFile(words);
    for (const auto& [language, bytes] : catalogues) {
        SCOPED_TRACE(language);
        const ScopedCatalogue other(bytes, language);
        EXPECT_EQ(session(), english);
    }
    std::filesystem::remove_all(folder);
}

// In every built language, and in one whose help texts are three times as long with long words
// for "Usage:" and "or:", each help line fits 80 columns and the usage lines start together.
TEST_F(CliLanguage, EveryHelpFitsEightyColumnsInEveryLanguage) {
    Entries longer = {{"Usage:", "Verwendungsweise:"}, {"or:", "oder auch:"}};
    for (const Command& c : AllCommands()) {
        std::vector<const char*> texts = {c.summary, c.details};
        for (const HelpRow& row : c.rows) {
            texts.push_back(row.text);
        }
        for (const char* text : texts) {
            const std::string t = text;
            if (std::none_of(longer.begin(), longer.end(), [&](auto& e) { return e.first == t; })) {
                longer.emplace_back(t, "Ähnlich " + t + " überaus " + t + " zusätzlich " + t);
            }
        }
    }
    std::map<std::string, std::string> catalogues = BuiltCatalogues();
    catalogues["long"] = MoFile(longer);
    catalogues["English"] = "";
    for (const auto& [language, bytes] : catalogues) {
        SCOPED_TRACE(language);
        const ScopedCatalogue other(bytes, language);
        std::vector<std::string> helps = {"--help"};
        for (const Command& c : AllCommands()) {
            helps.push_back(c.name);
        }
        for (const std::string& help : helps) {
            ASSERT_EQ(Exec(help == "--help" ? std::vector<std::string>{help}
                                            : std::vector<std::string>{help, "--help"}),
                      EXIT_DONE);
            std::istringstream lines(out.str());
            std::vector<std::size_t> usageStarts; // where each usage line's command starts
            bool usage = true;
            for (std::string line; std::getline(lines, line);) {
                EXPECT_LE(Columns(line), kHelpWidth) << help << ": " << line;
                EXPECT_TRUE(line.empty() || line.back() != ' ') << help << ": '" << line << "'";
                usage = usage && line.find("brimwell-cli") != std::string::npos;
                if (usage) {
                    usageStarts.push_back(Columns(line.substr(0, line.find("brimwell-cli"))));
                }
            }
            EXPECT_EQ(usageStarts.size(), help == "--help" ? 3u : 1u) << out.str();
            for (const std::size_t start : usageStarts) {
                EXPECT_EQ(start, usageStarts.front()) << out.str();
            }
        }
    }
}

TEST(CliText, FmtFillsThePlaceholdersInTheOrderTheTranslationGivesThem) {
    const struct {
        const char* format;
        std::vector<std::string> args;
        const char* text;
    } cases[] = {
        {"%s und %s", {"eins", "zwei"}, "eins und zwei"},
        {"%2$s hat %1$s Tage", {"28", "Februar"}, "Februar hat 28 Tage"},
        {"%1$s -aG %1$s %2$s", {"lp", "tech"}, "lp -aG lp tech"},
        {"100%% %s", {"fertig"}, "100% fertig"},
        {"%s and %s %3$s %0$s %d 5%", {"one"}, "one and %s %3$s %0$s %d 5%"},
        {"%s", {"%s %1$s"}, "%s %1$s"}, // an argument is not read again
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fmt(c.format, c.args), c.text) << c.format;
    }
}

TEST(CliText, WrapAndRowsKeepLinesWithinEightyCharacters) {
    const auto words = [](const std::string& word, int count) {
        std::string text = word;
        for (int i = 1; i < count; ++i) {
            text += " " + word;
        }
        return text;
    };
    const std::string a5 = "\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4"; // five columns, ten bytes
    const std::string x90(90, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {Wrap("  --json  ", "", 10), "  --json\n"},
        {Wrap("", "one\n\ntwo  three", 4), "one\n\n    two three\n"},
        // Thirteen words of five characters fill 77 columns; the fourteenth goes on.
        {Wrap("", words(a5, 16), 2), words(a5, 13) + "\n  " + words(a5, 3) + "\n"},
        // A word longer than a line is cut where the line ends.
        {Wrap("  ", "a " + x90 + " b", 2),
         "  a\n  " + x90.substr(12) + "\n  " + x90.substr(78) + " b\n"},
        {cli::Rows({{"-a", "first"}, {"--long", "second"}, {"", "(both)"}}, 32),
         "  -a      first\n  --long  second\n          (both)\n"},
        {cli::Rows({{"list", "them"}, {"logo pass|fail FILE", "store"}}, 10),
         "  list    them\n  logo pass|fail FILE\n          store\n"},
    };
    for (const auto& [wrapped, expected] : cases) {
        EXPECT_EQ(wrapped, expected);
    }
}

// A date that does not exist names its month and the days the month has that year.
TEST(LocalTimeRefusal, NamesTheMonthAndItsDays) {
    const char* const months[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};
    const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (unsigned m = 1; m <= 12; ++m) {
        char time[32];
        std::snprintf(time, sizeof time, "2025-%02u-%02u 10:00:00", m, days[m - 1] + 1);
        EXPECT_EQ(LocalTimeRefusal(time), std::string("Time '") + time +
                                              "' does not exist: " + months[m - 1] + " 2025 has " +
                                              std::to_string(days[m - 1]) + " days.");
    }
    EXPECT_EQ(LocalTimeRefusal("2024-02-30 10:00:00"),
              "Time '2024-02-30 10:00:00' does not exist: February 2024 has 29 days.");
}

#ifndef _WIN32
// The program itself under LANG=de_DE.UTF-8 finds the German catalogue beside its folder and
// speaks German in its help and its messages; skipped until the catalogue translates the help.
TEST(CliInGerman, HelpAndAFailureInGerman) {
    const std::string bytes = BuiltCatalogue("de").value_or("");
    const char* description = "Make the jobs of the Brimwell label printer and send them to a "
                              "printer or a file, without a window.";
    MoCatalog catalogue;
    if (!catalogue.Load(bytes) || !catalogue.Find(description)) {
        GTEST_SKIP() << "the German catalogue does not translate the help yet";
    }
    const auto run = [](const std::string& args, int* status) {
        const std::string command = "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u "
                                    "BRIMWELL_LOCALEDIR LANG=de_DE.UTF-8 '" BRIMWELL_CLI_PROGRAM
                                    "' " +
                                    args + " 2>&1";
        std::string output;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        const int raw = pipe ? ::pclose(pipe) : -1;
        *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return output;
    };
    const ScopedCatalogue de(bytes, "de");
    int status = -1;
    const std::string help = run("--help", &status);
    EXPECT_EQ(status, EXIT_DONE);
    EXPECT_NE(help.find(std::string("\n") + Tr("Commands:") + "\n"), std::string::npos) << help;
    const std::string translated = Tr(description);
    EXPECT_NE(help.find(translated.substr(0, translated.find(' '))), std::string::npos) << help;
    EXPECT_EQ(run("frobnicate", &status),
              "brimwell-cli: " + Fmt(Tr("unknown command '%s'"), {"frobnicate"}) +
                  "\nbrimwell-cli: " + Tr("Try 'brimwell-cli --help'.") + "\n");
    EXPECT_EQ(status, EXIT_USAGE);
}
#endif

} // namespace
} // namespace brimwell::test
