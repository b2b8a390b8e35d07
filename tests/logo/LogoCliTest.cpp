// brimwell-cli logo: the store job, the --pcx file, the order of --rotate and --invert, and
// the refusals with their exit statuses.
#include "cli/Commands.h"
#include "logo/LogoJob.h"
#include "logo/LogoTestSupport.h"
#include "printer/PrinterJob.h"
#include "support/CliHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace brimwell::test {
namespace {

class LogoCli : public ::testing::Test, public test::CliHarness {
protected:
    LogoCli() {
        char name[] = "/tmp/logo-cli-XXXXXX";
        m_dir = ::mkdtemp(name);
        m_logo = Write("logo.bmp", Loadable(MonoDesc({"#....", ".....", "..###"})));
        outputs.Add("job.out");
        printers.Add("/dev/usb/lp7");
    }
    ~LogoCli() override { std::system(("rm -rf '" + m_dir + "'").c_str()); }

    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // What the holder gives for the logo file after the given steps.
    std::string Expected(const std::string& steps, LogoKind kind, bool pcxOnly = false) {
        fake::MemoryFileSource none;
        CLogoFmtHandler h(none);
        const Bytes file = Loadable(MonoDesc({"#....", ".....", "..###"}));
        h.LoadBytes(file.data(), file.size());
        for (char s : steps) {
            s == 'r' ? static_cast<void>(h.Rotate()) : h.Invert();
        }
        const Bytes b = pcxOnly ? BuildLogoPcxFile(h) : BuildLogoJob(h, kind);
        return std::string(b.begin(), b.end());
    }

    std::vector<std::string>& Writes() { return outputs.devices["job.out"].writes; }

    std::string m_dir, m_logo;
};

TEST_F(LogoCli, SendsTheStoreJobInOneWrite) {
    ASSERT_EQ(Exec({"-o", "job.out", "logo", "pass", m_logo}), 0) << err.str();
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0], Expected("", LogoKind::Pass));
    EXPECT_EQ(Writes()[0].substr(15, 22), "DOWNLOAD \"LOGO1.PCX\",1");
    EXPECT_EQ(err.str(), "") << "a file has no lights to wait for";

    ASSERT_EQ(Exec({"-p", "/dev/usb/lp7", "logo", "fail", m_logo}), 0) << err.str();
    ASSERT_EQ(printers.devices["/dev/usb/lp7"].writes.size(), 1u);
    EXPECT_EQ(printers.devices["/dev/usb/lp7"].writes[0], Expected("", LogoKind::Fail));
    EXPECT_EQ(err.str(), "brimwell-cli: " + std::string(kPowerCycleAdvice) + "\n");
}

// Turns and inversions apply in the order given, like button presses: the two orders give the
// same picture but different padding bits, and so different bytes.
TEST_F(LogoCli, AppliesOptionsInOrder) {
    for (const auto& [args, steps] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--rotate", "--invert"}, "ri"},
             {{"--invert", "--rotate"}, "ir"},
             {{"--rotate", "--rotate", "--rotate"}, "rrr"},
             {{"--invert", "--invert"}, "ii"},
         }) {
        std::vector<std::string> cmd = {"-o", "job.out", "logo", "pass", m_logo};
        cmd.insert(cmd.end(), args.begin(), args.end());
        Writes().clear();
        ASSERT_EQ(Exec(cmd), 0) << steps;
        ASSERT_EQ(Writes().size(), 1u);
        EXPECT_EQ(Writes()[0], Expected(steps, LogoKind::Pass)) << steps;
    }
    EXPECT_NE(Expected("ri", LogoKind::Pass), Expected("ir", LogoKind::Pass));
}

TEST_F(LogoCli, PcxOptionWritesOnlyTheFile) {
    // The file goes through the output writer, which replaces it only when written whole.
    const std::string pcx = m_dir + "/out.pcx";
    outputs.Add(pcx);
    ASSERT_EQ(Exec({"-o", "job.out", "logo", "fail", m_logo, "--invert", "--pcx", pcx}), 0)
        << err.str();
    ASSERT_EQ(outputs.devices[pcx].writes.size(), 1u);
    EXPECT_EQ(outputs.devices[pcx].writes[0], Expected("i", LogoKind::Fail, true));
    EXPECT_EQ(outputs.devices[pcx].commits, 1);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(err.str(), "") << "nothing was sent, so no power-cycle advice";

    EXPECT_EQ(Exec({"logo", "pass", m_logo, "--pcx", m_dir + "/no/such/dir/out.pcx"}), 1);
    EXPECT_EQ(err.str(), "brimwell-cli: Error : can't open '" + m_dir + "/no/such/dir/out.pcx'\n");
}

TEST_F(LogoCli, RefusesFilesThatDoNotLoad) {
    const std::string large = Write("large.bmp", SolidBmp(361, 1));
    const std::string text = Write("notes.pcx", Bytes(300, '\n'));
    const struct {
        std::string file;
        const char* message;
        bool systemReason; // the system refused the file: its reason follows the message
    } cases[] = {
        {m_dir + "/missing.bmp", "Can't open the specified file.", true},
        {m_dir, "Can't open the specified file.", true},
        {large, "The specified graphics file exceeds the maximum logo size of 360 x 360 pixels.",
         false},
        {text, "The content of the specified file is not compatible with this program.", false},
        {"", "Please select a logo graphics file.", false},
    };
    for (const auto& c : cases) {
        const std::string pcx = m_dir + "/refused.pcx";
        EXPECT_EQ(Exec({"-o", "job.out", "logo", "pass", c.file, "--pcx", pcx}), 3) << c.file;
        const std::string said = "brimwell-cli: " + std::string(c.message);
        if (c.systemReason) {
            // The sentence's full stop moves to the end, after the system's reason.
            EXPECT_EQ(err.str().rfind(said.substr(0, said.size() - 1) + ": ", 0), 0u) << err.str();
            EXPECT_EQ(err.str().substr(err.str().size() - 2), ".\n") << err.str();
            EXPECT_GT(err.str().size(), said.size() + 3) << err.str();
        } else {
            EXPECT_EQ(err.str(), said + "\n") << c.file;
        }
        EXPECT_NE(::access(pcx.c_str(), F_OK), 0) << "no file written for " << c.file;
        EXPECT_EQ(Exec({"-o", "job.out", "logo", "pass", c.file}), 3) << c.file;
        EXPECT_TRUE(Writes().empty()) << c.file;
    }
}

TEST_F(LogoCli, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"logo"},
             {"logo", "pass"},
             {"logo", "maybe", "x.bmp"},
             {"logo", "pass", "x.bmp", "y.bmp"},
             {"logo", "pass", "x.bmp", "--flip"},
             {"logo", "pass", "x.bmp", "--pcx"},
         }) {
        EXPECT_EQ(Exec(args), 2) << args.size();
        EXPECT_NE(err.str().find("brimwell-cli: usage: brimwell-cli logo"), std::string::npos);
    }
}

TEST_F(LogoCli, NoPrinterListed) {
    EXPECT_EQ(Exec({"logo", "pass", m_logo}), 1);
    EXPECT_EQ(err.str(), "brimwell-cli: No printer found\n");
}

} // namespace
} // namespace brimwell::test
