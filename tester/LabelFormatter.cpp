#include "tester/LabelFormatter.h"

#include "printer/TextFormat.h"
#include "tester/TesterCatalogue.h"

namespace brimwell {
namespace {

// The fixed test data of every label.
constexpr const char* kApplianceId = "TEST LABEL";
constexpr const char* kUser = "Brimwell";
constexpr const char* kSerialNumber = "0123456789";
constexpr const char* kMonthNames[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

const char* ResultWord(TestResult result) {
    return result == TestResult::Pass ? "PASS" : "FAIL";
}

// The clock always gives a month of 1 to 12; anything else must not index past the table.
const char* MonthName(unsigned month) {
    return (month >= 1 && month <= 12) ? kMonthNames[month - 1] : "???";
}

unsigned TwoDigitYear(unsigned year) {
    return year % 100;
}

// Date, application number, user and, on a fail label only, an F under the data.
void AppendList(std::string& out, TestResult result, const LocalDateTime& t) {
    AppendPrintf(out, "%-9s%02u-%s-%02u\r\n", "DATE", t.day, MonthName(t.month),
                 TwoDigitYear(t.year));
    AppendPrintf(out, "%-8s%15s\r\n", "APP NO", kApplianceId);
    AppendPrintf(out, "%-8s%10s\r\n", "USER", kUser);
    if (result == TestResult::Fail) {
        AppendPrintf(out, "%18s\r\n", "F");
    }
    out += "END OF DATA\r\n";
}

void AppendTla(std::string& out, TestResult result, const LocalDateTime& t) {
    AppendPrintf(out, "Tested %15s\r\n", ResultWord(result));
    out += "S/N 0123456789\r\n";
    AppendPrintf(out, "Dated %02u/%02u/%02u\r\n", t.day, t.month, TwoDigitYear(t.year));
}

// Line 8 is two characters longer than the field lines above it, as the tester prints it.
void AppendOrrin(std::string& out, TestResult result, const LocalDateTime& t) {
    AppendPrintf(out, "DATE  %02u/%02u/%04u\r\n", t.day, t.month, t.year);
    AppendPrintf(out, "      APPLIANCE          %10s\r\n", kApplianceId);
    AppendPrintf(out, "  APPLIED VOLTS          %10s\r\n", "?");
    AppendPrintf(out, "           SITE          %10s\r\n", "SITE 1");
    AppendPrintf(out, "       LOCATION          %10s\r\n", "LOCATION 1");
    AppendPrintf(out, "           USER          %10s\r\n", kUser);
    AppendPrintf(out, "   TEST              %14s\r\n", "???");
    AppendPrintf(out, "        TEST               %10s\r\n", ResultWord(result));
}

void AppendQuintel(std::string& out, TestResult result, const LocalDateTime& t) {
    AppendPrintf(out, "Date  %02u/%02u/%04u\r\n", t.day, t.month, t.year);
    AppendPrintf(out, "Time  %02u:%02u\r\n", t.hour, t.minute);
    AppendPrintf(out, "Serial No%30s\r\n", kSerialNumber);
    AppendPrintf(out, "Result         %-4s\r\n", ResultWord(result));
}

void AppendBrandal(std::string& out, TestResult result, const LocalDateTime& t) {
    out += "Operator\r\nBrimwell\r\n";
    out += "Product PN\r\nTEST LABEL\r\n";
    AppendPrintf(out, "==== Test            %02u/%02u/%04u\r\n", t.day, t.month, t.year);
    AppendPrintf(out, "Test #      %-4s %02u:%02u:%02u\r\n", ResultWord(result), t.hour, t.minute,
                 t.second);
    AppendPrintf(out, "S/N %22s\r\n", kSerialNumber);
}

// A box 32 characters wide: captions left-aligned after one space, values right-aligned
// before one space, three empty lines after the bottom rule.
void AppendBoxed(std::string& out, TestResult result, const LocalDateTime& t) {
    constexpr const char* kOuterRule = "+==============================+\r\n";
    constexpr const char* kTitleRule = "|==============================|\r\n";
    constexpr const char* kFieldRule = "|------------------------------|\r\n";
    auto caption = [&out](const char* text) { AppendPrintf(out, "| %-29s|\r\n", text); };
    auto value = [&out](const char* text) { AppendPrintf(out, "|%29s |\r\n", text); };

    std::string date;
    AppendPrintf(date, "%02u/%02u/%04u", t.day, t.month, t.year);

    out += kOuterRule;
    caption("   VESPERINE TEST LABEL");
    out += kTitleRule;
    caption("APPLIANCE:");
    value(kApplianceId);
    out += kFieldRule;
    caption("DATE:");
    value(date.c_str());
    out += kFieldRule;
    caption("USER:");
    value(kUser);
    out += kFieldRule;
    caption("TEST STATUS:");
    value(ResultWord(result));
    out += kFieldRule;
    caption("NEXT TEST DUE:");
    value("");
    out += kOuterRule;
    out += "\r\n\r\n\r\n";
}

} // namespace

LabelFormat LabelFormatForNameId(int nNameId) {
    switch (nNameId) {
    case IDS_TESTER_LIST:
        return LabelFormat::List;
    case IDS_TESTER_TLA:
        return LabelFormat::Tla;
    case IDS_TESTER_ORRIN:
        return LabelFormat::Orrin;
    case IDS_TESTER_QUINTEL:
        return LabelFormat::Quintel;
    case IDS_TESTER_BRANDAL:
        return LabelFormat::Brandal;
    default:
        return LabelFormat::Boxed;
    }
}

std::string BuildTestLabel(TestResult result, int nNameId, const LocalDateTime& when) {
    std::string text;
    switch (LabelFormatForNameId(nNameId)) {
    case LabelFormat::List:
        AppendList(text, result, when);
        break;
    case LabelFormat::Tla:
        AppendTla(text, result, when);
        break;
    case LabelFormat::Orrin:
        AppendOrrin(text, result, when);
        break;
    case LabelFormat::Quintel:
        AppendQuintel(text, result, when);
        break;
    case LabelFormat::Brandal:
        AppendBrandal(text, result, when);
        break;
    case LabelFormat::Boxed:
        AppendBoxed(text, result, when);
        break;
    }
    return text;
}

} // namespace brimwell
