// The version check against a game folder on disk.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/message.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "varnopts/settings/version_check.h"

namespace varnopts {
namespace {

using testsupport::FakeInstallation;
using testsupport::MessageRecorder;

const std::string kGameFolder = "C:\\Games\\Rainbow Six\\";
const std::string kNotFound =
    "Couldn't find RainbowSix.exe . Rainbow Six is not installed correctly. VARN install aborted.";

// A sparse file of the given length.
void WriteExecutable(FakeInstallation& installation, const std::string& windowsPath,
                     std::uintmax_t length) {
    std::filesystem::resize_file(installation.WriteFile(windowsPath, ""), length);
}

TEST(VersionCheckFileTest, FileNameIsMatchedWithoutRegardToCase) {
    FakeInstallation installation;
    WriteExecutable(installation, kGameFolder + "RAINBOWSIX.EXE", 4814528);
    MessageRecorder recorder;
    EXPECT_TRUE(CheckGameVersion(installation.prefix(), kGameFolder));
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(VersionCheckFileTest, MissingOrUnusableExecutableIsNotFound) {
    struct Case {
        const char* description;
        std::string onDisk;  // what lies at the executable's place: "file", "folder" or nothing
        std::string installationPath;
    };
    const Case cases[] = {
        {"missing", "", kGameFolder},
        {"no trailing backslash", "file", "C:\\Games\\Rainbow Six"},
        {"a folder of that name", "folder", kGameFolder},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.description);
        FakeInstallation installation;
        if (test.onDisk == "file") {
            WriteExecutable(installation, kGameFolder + "RainbowSix.exe", 4814528);
        } else if (test.onDisk == "folder") {
            std::filesystem::create_directories(
                installation.UnixPath(kGameFolder + "RainbowSix.exe"));
        }
        MessageRecorder recorder;
        EXPECT_FALSE(CheckGameVersion(installation.prefix(), test.installationPath));
        ASSERT_EQ(recorder.messages().size(), 1u);
        EXPECT_EQ(recorder.messages()[0].text, kNotFound);
    }
}

TEST(VersionCheckFileTest, EagleWatchSkipsTheExecutableButNotTheEmptyPath) {
    testsupport::InstallationOptions options;
    options.eagleWatch = true;
    FakeInstallation installation(options);
    MessageRecorder recorder;
    EXPECT_TRUE(CheckGameVersion(installation.prefix(), kGameFolder));  // no executable at all
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_FALSE(CheckGameVersion(installation.prefix(), ""));
    EXPECT_EQ(recorder.messages().size(), 1u);
}

TEST(VersionCheckFileTest, UnknownLengthAsksEveryTime) {
    FakeInstallation installation;
    WriteExecutable(installation, kGameFolder + "RainbowSix.exe", 5000000);
    MessageRecorder recorder;
    recorder.QueueAnswer(platform::IDYES);
    recorder.QueueAnswer(platform::IDNO);
    EXPECT_TRUE(CheckGameVersion(installation.prefix(), kGameFolder));
    EXPECT_FALSE(CheckGameVersion(installation.prefix(), kGameFolder));
    EXPECT_EQ(recorder.messages().size(), 2u);
}

}  // namespace
}  // namespace varnopts
