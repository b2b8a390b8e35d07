#pragma once
// brimwell-cli run in-process through RunCli, with a double for every service it uses.
#include "cli/Commands.h"
#include "platform/fake/FakeServices.h"

#include <sstream>
#include <string>
#include <vector>

namespace brimwell::test {

struct CliHarness {
    // Runs one command line; standard output and error start empty.
    int Exec(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return cli::RunCli(args, services, out, err);
    }

    // Every write request that reached a printer or an output file.
    std::vector<std::string> AllWrites() const {
        std::vector<std::string> all;
        for (const fake::FakeDeviceOpener* opener : {&printers, &outputs}) {
            for (const auto& [path, device] : opener->devices) {
                all.insert(all.end(), device.writes.begin(), device.writes.end());
            }
        }
        return all;
    }
    void ClearWrites() {
        for (fake::FakeDeviceOpener* opener : {&printers, &outputs}) {
            for (auto& [path, device] : opener->devices) {
                device.writes.clear();
            }
        }
    }

    fake::MemoryProfile profile;
    fake::FixedClock clock;
    fake::FakeEnumerator enumerator;
    fake::FakeDeviceOpener printers; // -p PATH and the listed printers
    fake::FakeDeviceOpener outputs;  // -o FILE
    fake::FakeTicks ticks;
    cli::CliServices services{profile, clock, enumerator, printers, outputs, ticks};
    std::ostringstream out;
    std::ostringstream err;
};

} // namespace brimwell::test
