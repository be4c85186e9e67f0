// The texts the window shows for start-up and save problems.

#include <gtest/gtest.h>

#include <string>

#include "loadwise/kitdata/kitdata_messages.h"

namespace kitdata {
namespace {

TEST(KitdataMessagesTest, StartupMessageListsEveryProblem) {
    const std::string text =
        StartupProblemsMessage({{"/games/equipment/primarymp.itm", "No such file or directory"},
                                {"/games/english/equipment.txt", "Permission denied"}});
    EXPECT_NE(text.find("/games/equipment/primarymp.itm: No such file or directory"),
              std::string::npos);
    EXPECT_NE(text.find("/games/english/equipment.txt: Permission denied"), std::string::npos);
}

TEST(KitdataMessagesTest, SaveMessageNamesTheFileAndSaysNothingChanged) {
    const std::string text =
        SaveFailedMessage({"/games/english/special.txt", "No space left on device"});
    EXPECT_NE(text.find("/games/english/special.txt: No space left on device"), std::string::npos);
    EXPECT_NE(text.find("No file was changed"), std::string::npos);
}

}  // namespace
}  // namespace kitdata
