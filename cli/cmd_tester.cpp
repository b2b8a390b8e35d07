#include "cli/Commands.h"

#include "cli/CliText.h"
#include "tester/ConfigJob.h"
#include "tester/LabelFormatter.h"
#include "tester/TesterCatalogue.h"
#include "tester/UserNameCodec.h"
#include "text/Translate.h"

namespace brimwell::cli {
namespace {

// The tester types' names are typed as they are written: they go into the message as they are.
std::string UnknownTesterMessage(const std::string& text) {
    std::string names;
    for (int i = 0; i < kTesterCount; ++i) {
        names += i == 0 ? "\"" : ", \"";
        names += TesterDisplayName(i);
        names += "\"";
    }
    // TRANSLATORS: %1$s is the tester type as typed, %2$s the list of the tester types'
    // names, which stay as they are written.
    return Fmt(Tr("Unknown tester type '%1$s': give an index 0-9, a code 1000-1009 or one of "
                  "the names %2$s."),
               {text, names});
}

// The tester index of --tester, or the stored one (read, never written) without it. -1 and
// the refusal when --tester names no tester type.
int ResolveTester(const ArgList& args, IProfile& profile, Outcome* refusal) {
    if (const auto text = args.Last("--tester")) {
        const int index = TesterIndexFromText(*text);
        if (index < 0) {
            *refusal = Refused(UnknownTesterMessage(*text));
        }
        return index;
    }
    return TesterIndexForCode(profile.GetInt(kProfileSection, kProfileTesterType, 0));
}

// The window's box takes at most 24 characters on one line; a name from the command line is
// held to the same, so that it cannot break the lines of "MODE.MOD".
const char* CheckUserName(const std::string& utf8) {
    if (Utf16Length(utf8) > kUserNameMaxChars) {
        return Tr("The user name is longer than 24 characters.");
    }
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return Tr("The user name contains a control character (such as a line break).");
        }
    }
    return nullptr;
}

} // namespace

Outcome RunTesters(Context& ctx) {
    const ArgList args(ctx.args, {}, {});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (!args.positionals().empty()) {
        // TRANSLATORS: %s is the command's name, as typed.
        return Usage(Fmt(Tr("%s takes no arguments"), {"testers"}));
    }
    // The mark shows the tester type a job uses without --tester, as the window selects it.
    const int stored =
        TesterIndexForCode(ctx.profile.GetInt(kProfileSection, kProfileTesterType, 0));
    for (int i = 0; i < kTesterCount; ++i) {
        ctx.out << i << '\t' << TesterCode(i) << '\t' << TesterDisplayName(i)
                << (i == stored ? "\t*" : "") << "\n";
    }
    return Done();
}

Outcome RunTesterType(Context& ctx) {
    const ArgList args(ctx.args, {"--tester", "--user-name"}, {});
    if (!args.ok()) {
        return Usage(args.error());
    }
    if (!args.positionals().empty()) {
        return Usage(Fmt(Tr("unexpected argument '%s'"), {args.positionals().front()}));
    }
    Outcome refusal;
    const int index = ResolveTester(args, ctx.profile, &refusal);
    if (index < 0) {
        return refusal;
    }
    // As in the window, a user name is sent only for the tester type that prints one.
    std::string userName;
    if (TesterUsesUserName(index)) {
        const std::string typed = args.Last("--user-name").value_or("");
        if (const char* problem = CheckUserName(typed)) {
            return Refused(problem);
        }
        userName = UserNameToPrinterBytes(typed);
    }
    return Job(BuildConfigJob(TesterMode(index), userName), /*powerCycleAdvice=*/true);
}

Outcome RunLabel(Context& ctx) {
    const ArgList args(ctx.args, {"--tester", "--at"}, {});
    if (!args.ok()) {
        return Usage(args.error());
    }
    const auto& positionals = args.positionals();
    if (positionals.size() != 1 || (positionals[0] != "pass" && positionals[0] != "fail")) {
        // TRANSLATORS: pass and fail are typed as they are written.
        return Usage(Tr("give the result: pass or fail"));
    }
    const TestResult result = positionals[0] == "pass" ? TestResult::Pass : TestResult::Fail;
    std::string badTime;
    const LocalDateTime when = TimeOption(args, ctx.clock, &badTime);
    if (!badTime.empty()) {
        return Refused(badTime); // as the clock command refuses it
    }
    Outcome refusal;
    const int index = ResolveTester(args, ctx.profile, &refusal);
    if (index < 0) {
        return refusal;
    }
    return Job(BuildTestLabel(result, TesterNameId(index), when));
}

} // namespace brimwell::cli
