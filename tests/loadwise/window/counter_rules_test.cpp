// The "Selected:" counter and when Save may be pressed, as the user ticks,
// switches tabs and presses Multiplayer Only, Select All and Unselect All.

#include <gtest/gtest.h>

#include "support/kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

enum Action { kStart, kBox, kTab, kMultiplayerOnly, kSelectAll, kUnselectAll };

struct Step {
    Action action;
    int tab, row;  // for kBox; tab alone for kTab
    const char* counter;
    bool save;
};

struct Scenario {
    const char* what;
    int tab;  // the tab whose items are replaced
    int items, active;
    std::vector<Step> steps;
};

TEST(CounterRulesTest, CounterAndSaveFollowEachStep) {
    const Scenario scenarios[] = {
        {"33 Primary items need Multiplayer Only; the counter then shows Special",
         0,
         33,
         33,
         {{kStart, 0, 0, "33", false},
          {kMultiplayerOnly, 0, 0, "2", true},
          {kMultiplayerOnly, 0, 0, "2", false},
          {kBox, 0, 0, "32", true}}},
        {"Special counts one more",
         2,
         32,
         0,
         {{kTab, 2, 0, "1", true},
          {kSelectAll, 0, 0, "33", false},
          {kMultiplayerOnly, 0, 0, "33", true},
          {kMultiplayerOnly, 0, 0, "33", false},
          {kBox, 2, 0, "32", true}}},
        {"an empty tab blocks Save once shown, until it has a tick",
         1,
         2,
         0,
         {{kStart, 0, 0, "2", true},
          {kTab, 1, 0, "0", false},
          {kTab, 0, 0, "2", false},
          {kTab, 1, 0, "0", false},
          {kBox, 1, 1, "1", true}}},
        {"Multiplayer Only judges every tab again",
         1,
         2,
         0,
         {{kMultiplayerOnly, 0, 0, "2", false}}},
        {"Unselect All empties the shown tab only",
         0,
         3,
         2,
         {{kTab, 1, 0, "1", true},
          {kUnselectAll, 0, 0, "0", false},
          {kTab, 0, 0, "2", false},
          {kSelectAll, 0, 0, "3", false},
          {kTab, 1, 0, "0", false},
          {kSelectAll, 0, 0, "2", true}}},
    };
    for (const Scenario& scenario : scenarios) {
        testsupport::Kit items = testsupport::SmallKit();
        items[scenario.tab] = testsupport::ManyItems("i", scenario.items, scenario.active);
        testsupport::KitInstallation kit(items);
        testsupport::MessageRecorder messages;
        Window window(kit.prefix());
        for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
            const Step& step = scenario.steps[i];
            switch (step.action) {
                case kStart:
                    break;
                case kBox:
                    window.ClickBox(step.tab, step.row);
                    break;
                case kTab:
                    window.ClickTab(step.tab);
                    break;
                case kMultiplayerOnly:
                    window.Click("IDC_MULTIPLAYER_ONLY");
                    break;
                case kSelectAll:
                    window.Click("IDC_SELECT_ALL");
                    break;
                case kUnselectAll:
                    window.Click("IDC_UNSELECT_ALL");
                    break;
            }
            EXPECT_EQ(window.Counter(), step.counter) << scenario.what << ", step " << i;
            EXPECT_EQ(window.SaveEnabled(), step.save) << scenario.what << ", step " << i;
        }
    }
}

}  // namespace
}  // namespace loadwisetest
