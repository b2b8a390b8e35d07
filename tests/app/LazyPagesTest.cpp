// The main window makes a page when its row is first selected. Whatever the order in which the
// rows are first visited, the user sees the same controls in the same states and the printer
// gets the same bytes as when every page is made at start.
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace brimwell::test {
namespace {

constexpr int kWelcomeRow = 0;
constexpr int kTesterTypeRow = 6;
constexpr int kDensityRow = 7;
constexpr int kPassLogoRow = 8;
constexpr int kLabelRow = 10;
constexpr const char* kPath = "/dev/usb/lp0";

enum class Act { Select, Choose, Click, Plug, Unplug, HoldJobs, FinishJob };
struct Step {
    Act act;
    int row = 0;   // Select; the page acted on for Choose and Click
    int id = 0;    // Choose, Click
    int index = 0; // Choose
};

struct Scenario {
    const char* name;
    bool printerAtStart;
    bool profileReadOnly;
    std::vector<Step> steps;
};

void PrintTo(const Scenario& scenario, std::ostream* os) {
    *os << scenario.name;
}

Step Select(int row) {
    return {Act::Select, row};
}
Step Choose(int row, int id, int index) {
    return {Act::Choose, row, id, index};
}
Step Click(int row, int id) {
    return {Act::Click, row, id};
}

class Session {
public:
    Session(const Scenario& scenario, bool everyPageAtStart) {
        platform.clock.time = LocalDateTime{2025, 3, 7, 14, 5, 9};
        platform.profile.readOnly = scenario.profileReadOnly;
        if (scenario.printerAtStart) {
            platform.AddPrinter(kPath);
        }
        runner.hold = false;
        window = std::make_unique<FakeWindow>();
        if (everyPageAtStart) {
            for (int slot = 0; slot < window->dlg.PageCount(); ++slot) {
                window->dlg.MakePage(slot);
            }
        } else {
            // Only the welcome page is made before the user selects a row.
            for (int slot = 0; slot < window->dlg.PageCount(); ++slot) {
                EXPECT_EQ(window->dlg.Page(slot) != nullptr, slot == kWelcomeRow) << slot;
            }
        }
        for (const Step& step : scenario.steps) {
            Do(step);
            states.push_back(WhatTheUserSees());
        }
    }

    std::vector<std::string> states;

private:
    // The page acted on must be the one shown, made by its selection: the test clicks only
    // what the user can reach.
    fake::FakeDialog& Shown(int row) {
        EXPECT_NE(window->dlg.Page(row), nullptr) << "row " << row << " was never selected";
        return window->Page(row);
    }

    void Do(const Step& step) {
        switch (step.act) {
        case Act::Select:
            EXPECT_TRUE(window->SelectRow(step.row));
            break;
        case Act::Choose:
            EXPECT_TRUE(Shown(step.row).Choose(step.id, step.index));
            break;
        case Act::Click:
            EXPECT_TRUE(Shown(step.row).Click(step.id));
            break;
        case Act::Plug:
            platform.AddPrinter(kPath);
            platform.monitor.Fire();
            break;
        case Act::Unplug:
            platform.enumerator.devices.clear();
            platform.monitor.Fire();
            break;
        case Act::HoldJobs:
            runner.hold = true;
            break;
        case Act::FinishJob:
            runner.Finish();
            runner.hold = false;
            break;
        }
    }

    // The shown page's controls (texts, lists, selections, states), the main window's, and
    // everything the printer and the profile were given.
    std::string WhatTheUserSees() {
        std::ostringstream out;
        out << "shown:";
        for (int slot : window->VisiblePages()) {
            out << ' ' << slot;
            for (const auto& [id, item] : window->Page(slot).items) {
                out << "\n  " << id << " '" << item.text << "' en=" << item.enabled
                    << " vis=" << item.shown << " sel=" << item.curSel
                    << " n=" << item.strings.size();
            }
        }
        for (const auto& [id, item] : window->host.items) {
            out << "\n main " << id << " '" << item.text << "' en=" << item.enabled
                << " vis=" << item.shown << " sel=" << item.curSel;
        }
        if (const auto it = platform.opener.devices.find(kPath);
            it != platform.opener.devices.end()) {
            for (const std::string& write : it->second.writes) {
                out << "\n wrote " << write.size() << ": " << write;
            }
        }
        for (const auto& [key, value] : platform.profile.writes) {
            out << "\n profile " << key << '=' << value;
        }
        out << "\n boxes " << platform.box.shown.size();
        return out.str();
    }

    FakePlatform platform;
    fake::HeldJobRunner runner;
    ScopedServices useRunner{&Services::jobRunner, &runner};
    std::unique_ptr<FakeWindow> window;
};

const Scenario kScenarios[] = {
    {"TypeChosenBeforeTheLabelPageExists",
     true,
     false,
     {Select(kTesterTypeRow), Choose(kTesterTypeRow, IDC_TESTER_LIST, 3), Select(kLabelRow),
      Click(kLabelRow, IDC_PASS_LABEL)}},
    {"TypeChosenAfterTheLabelPageExists",
     true,
     false,
     {Select(kLabelRow), Select(kTesterTypeRow), Choose(kTesterTypeRow, IDC_TESTER_LIST, 5),
      Select(kLabelRow), Click(kLabelRow, IDC_FAIL_LABEL)}},
    {"TypeChosenOnTheLabelPageWithAStoreThatRefusesWrites",
     true,
     true,
     {Select(kLabelRow), Choose(kLabelRow, IDC_TESTER_LIST, 2), Select(kTesterTypeRow),
      Click(kTesterTypeRow, IDC_SEND_CONFIGURATION), Select(kLabelRow),
      Click(kLabelRow, IDC_PASS_LABEL)}},
    {"PrinterPluggedInBeforeThePageExists",
     false,
     false,
     {{Act::Plug}, Select(kDensityRow), Click(kDensityRow, IDC_SEND_DENSITY)}},
    {"PrinterUnpluggedBeforeThePageExists",
     true,
     false,
     {{Act::Unplug}, Select(kPassLogoRow), Select(kDensityRow)}},
    {"PageMadeWhileAJobIsSent",
     true,
     false,
     {{Act::HoldJobs},
      Select(kDensityRow),
      Click(kDensityRow, IDC_SEND_DENSITY),
      Select(kTesterTypeRow),
      Select(kLabelRow),
      {Act::FinishJob},
      Click(kLabelRow, IDC_PASS_LABEL),
      Select(kTesterTypeRow)}},
};

class LazyPages : public ::testing::TestWithParam<Scenario> {};

TEST_P(LazyPages, ShowTheSameAndSendTheSameAsPagesMadeAtStart) {
    const Scenario& scenario = GetParam();
    const Session lazy(scenario, false);
    const Session eager(scenario, true);
    ASSERT_EQ(lazy.states.size(), eager.states.size());
    for (std::size_t i = 0; i < lazy.states.size(); ++i) {
        EXPECT_EQ(lazy.states[i], eager.states[i]) << "after step " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, LazyPages, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace brimwell::test
