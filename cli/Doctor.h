#pragma once
#include "platform/PrinterDoctor.h"

#include <string>
#include <vector>

namespace brimwell::cli {

// `brimwell-cli doctor`: why a printer is or is not usable, judged from what a probe read
// (platform/PrinterDoctor.h). Pure: the same facts give the same checks on every system.

enum class Verdict { Ok, Warning, Failed };

// The texts of a report are in the language of the catalogue current when it was made.
struct DoctorCheck {
    std::string check; // what was checked, and for which device: "driver 1-1"
    Verdict verdict = Verdict::Ok;
    std::string found;
    std::string remedy; // what to do; "" when ok
};

struct DoctorReport {
    bool ready = false; // at least one printer can be written
    std::vector<DoctorCheck> checks;
    // The remedy of the first failed check; "" when none failed.
    std::string FirstRemedy() const;
};

// Whether a USB vendor and product are one of the devices the utility lists.
bool IsOurUsbId(UsbId id);

DoctorReport Diagnose(const DoctorFacts& facts);

// The verdict as --json writes it: "ok", "warning", "failed", in every language.
const char* VerdictName(Verdict verdict);
// The verdict as a person reads it, in the current catalogue's language.
const char* VerdictText(Verdict verdict);

// One line per check: verdict, check, what was found and, where not ok, what to do; the texts
// start in one column after the longest verdict of the current language.
std::string DoctorText(const DoctorReport& report);

// {"ready":...,"checks":[{"check","verdict","found","remedy"}...]}
std::string DoctorJson(const DoctorReport& report);

} // namespace brimwell::cli
