#include "varnopts/settings/version_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/message.h"
#include "support/message_recorder.h"

namespace varnopts {
namespace {

using testsupport::MessageRecorder;

const std::string kRefusedStart = "You are running version ";
const std::string kRefusedEnd =
    " of Rainbow Six. VARN will only run with version 1.04 or later. You can get the latest "
    "offical patches at http://www.redstorm.com/support . VARN install aborted.";
const std::string kQuestion =
    "VARN cannot determine the version of Rainbow Six that you are running. VARN will only run "
    "if version 1.04 or later of Rainbow Six is installed. VARN will make Rainbow Six not "
    "function if installed on an invalid version. Are you sure you want to install?";

enum class Expect { Pass, Refuse, Ask };

struct LengthCase {
    std::uint64_t length;
    Expect expect;
    std::string version;
};

// Every row of the version table, and one byte either side of each.
const LengthCase kLengthCases[] = {
    {4625408, Expect::Refuse, "1.0"},
    {4625407, Expect::Ask, ""},
    {4625409, Expect::Ask, ""},
    {4628480, Expect::Refuse, "1.01"},
    {4628479, Expect::Ask, ""},
    {4628481, Expect::Ask, ""},
    {4726272, Expect::Refuse, "1.02a"},
    {4726271, Expect::Ask, ""},
    {4726273, Expect::Ask, ""},
    {4814528, Expect::Pass, ""},
    {4814527, Expect::Ask, ""},
    {4814529, Expect::Ask, ""},
    {4899328, Expect::Pass, ""},
    {4899327, Expect::Ask, ""},
    {4899329, Expect::Ask, ""},
    {0, Expect::Ask, ""},
    // Beyond 4 GiB the length is not cut to 32 bits: this one is no 1.04.
    {0x100000000ULL + 4814528, Expect::Ask, ""},
};

TEST(VersionCheckTest, JudgesTheExecutableByItsLength) {
    for (const auto& test : kLengthCases) {
        SCOPED_TRACE(test.length);
        MessageRecorder recorder;
        recorder.QueueAnswer(platform::IDNO);
        const bool passed = DecideGameVersion("C:\\Games\\Rainbow Six\\", false, test.length);
        switch (test.expect) {
            case Expect::Pass:
                EXPECT_TRUE(passed);
                EXPECT_TRUE(recorder.messages().empty());
                break;
            case Expect::Refuse:
                EXPECT_FALSE(passed);
                ASSERT_EQ(recorder.messages().size(), 1u);
                EXPECT_EQ(recorder.messages()[0].text, kRefusedStart + test.version + kRefusedEnd);
                EXPECT_EQ(recorder.messages()[0].caption, "VARN Install Aborted");
                EXPECT_EQ(recorder.messages()[0].style, platform::MB_OK);
                break;
            case Expect::Ask:
                EXPECT_FALSE(passed);  // answered No
                ASSERT_EQ(recorder.messages().size(), 1u);
                EXPECT_EQ(recorder.messages()[0].text, kQuestion);
                EXPECT_EQ(recorder.messages()[0].caption, "Unknown Rainbow Six version");
                EXPECT_EQ(recorder.messages()[0].style, platform::MB_YESNO);
                break;
        }
    }
}

TEST(VersionCheckTest, OnlyYesLetsAnUnknownVersionPass) {
    for (const int answer : {platform::IDYES, platform::IDNO, platform::IDCANCEL, platform::IDOK}) {
        MessageRecorder recorder;
        recorder.QueueAnswer(answer);
        EXPECT_EQ(DecideGameVersion("C:\\RS\\", false, 1234), answer == platform::IDYES);
    }
}

TEST(VersionCheckTest, EmptyInstallationPathIsRefusedFirst) {
    for (const bool eagleWatch : {false, true}) {
        MessageRecorder recorder;
        EXPECT_FALSE(DecideGameVersion("", eagleWatch, 4814528));
        ASSERT_EQ(recorder.messages().size(), 1u);
        EXPECT_EQ(recorder.messages()[0].text,
                  "You must run Rainbow Six once so that it can perform it's initialization "
                  "before installing VARN. Please run Rainbow Six and then click Save again.");
        EXPECT_EQ(recorder.messages()[0].caption, "VARN Install Aborted");
        EXPECT_EQ(recorder.messages()[0].style, platform::MB_OK);
    }
}

TEST(VersionCheckTest, EagleWatchPassesWithoutLookingAtTheExecutable) {
    MessageRecorder recorder;
    EXPECT_TRUE(DecideGameVersion("C:\\RS\\", true, std::nullopt));
    EXPECT_TRUE(DecideGameVersion("C:\\RS\\", true, 4625408));
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(VersionCheckTest, MissingExecutableIsRefused) {
    MessageRecorder recorder;
    EXPECT_FALSE(DecideGameVersion("C:\\RS\\", false, std::nullopt));
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text,
              "Couldn't find RainbowSix.exe . Rainbow Six is not installed correctly. VARN "
              "install aborted.");
    EXPECT_EQ(recorder.messages()[0].caption, "VARN Install Aborted");
    EXPECT_EQ(recorder.messages()[0].style, platform::MB_OK);
}

}  // namespace
}  // namespace varnopts
