#include "varnopts/settings/package_runner.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/message.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "varnopts/settings/game_launch.h"
#include "varnopts/settings/install_plan.h"
#include "varnopts/settings/program_launcher.h"

namespace varnopts {
namespace {

namespace fs = std::filesystem;
using testsupport::FakeInstallation;
using testsupport::MessageRecorder;

const std::string kModFolder = "C:\\VARN";
const std::string kGameFolder = "C:\\Games\\Rainbow Six\\";

// Stands in for wine: records its arguments (one a line) and its working
// folder, then ends. $WINE is pointed at it for the test's lifetime.
class FakeWine {
  public:
    explicit FakeWine(const fs::path& folder) : log_(folder / "wine.log") {
        const fs::path script = folder / "fake-wine";
        std::ofstream out(script);
        out << "#!/bin/sh\n"
            << "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" << log_.string()
            << ".part'\n"
            << "mv '" << log_.string() << ".part' '" << log_.string() << "'\n";
        out.close();
        fs::permissions(script, fs::perms::owner_all);
        const char* previous = ::getenv("WINE");
        if (previous != nullptr) {
            previous_ = previous;
        }
        ::setenv("WINE", script.c_str(), 1);
    }
    ~FakeWine() {
        if (previous_) {
            ::setenv("WINE", previous_->c_str(), 1);
        } else {
            ::unsetenv("WINE");
        }
    }

    // The started program's working folder and arguments, once it has run.
    std::vector<std::string> WaitForLog() const {
        for (int i = 0; i < 1000 && !fs::exists(log_); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(log_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

  private:
    fs::path log_;
    std::optional<std::string> previous_;
};

void ExpectFailureMessages(const std::vector<testsupport::RecordedMessage>& messages,
                           std::size_t index, const std::string& file) {
    ASSERT_GE(messages.size(), index + 2);
    EXPECT_EQ(messages[index].text, "Failed to start " + file);
    EXPECT_EQ(messages[index].caption, "VARN MOD Options");
    EXPECT_EQ(messages[index].style, platform::MB_ICONHAND);
    EXPECT_EQ(messages[index + 1].text, "The installation could not be completed.");
    EXPECT_EQ(messages[index + 1].caption, "VARN MOD Options");
    EXPECT_EQ(messages[index + 1].style, platform::MB_ICONEXCLAMATION);
}

TEST(PackageRunnerTest, FileAndParameters) {
    EXPECT_EQ(PackageFile("C:\\VARN", "VARN_FULL.EXE"), "C:\\VARN\\VARN_FULL.EXE");
    EXPECT_EQ(PackageFile("", "VARN_FULL.EXE"), "\\VARN_FULL.EXE");
    EXPECT_EQ(PackageParameters("C:\\Games\\Rainbow Six\\"), "/auto C:\\Games\\Rainbow Six\\");
    EXPECT_EQ(PackageParameters(""), "/auto ");
}

TEST(PackageRunnerTest, StartsThePackageInTheModificationFolder) {
    FakeInstallation installation;
    FakeWine wine(installation.root());
    installation.WriteFile(kModFolder + "\\VARN_FULL.EXE", "MZ");
    MessageRecorder recorder;
    RunPackage(installation.prefix(), kModFolder, kGameFolder, "VARN_FULL.EXE");
    EXPECT_TRUE(recorder.messages().empty());
    const std::vector<std::string> log = wine.WaitForLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(fs::canonical(log[0]), fs::canonical(installation.UnixPath(kModFolder)));
    EXPECT_EQ(log[1], "C:\\VARN\\VARN_FULL.EXE");
    // Handed over word by word, so the program's command line is the
    // parameters exactly, unquoted.
    EXPECT_EQ(log[2] + " " + log[3] + " " + log[4], "/auto C:\\Games\\Rainbow Six\\");
}

TEST(PackageRunnerTest, ExpandableModificationFolderIsExpandedForTheStart) {
    FakeInstallation installation;
    FakeWine wine(installation.root());
    installation.WriteFile("C:\\Program Files (x86)\\VARN\\VARN_FULL.EXE", "MZ");
    MessageRecorder recorder;
    RunPackage(installation.prefix(), "%ProgramFiles%\\VARN", kGameFolder, "VARN_FULL.EXE");
    EXPECT_TRUE(recorder.messages().empty());
    const std::vector<std::string> log = wine.WaitForLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(fs::canonical(log[0]),
              fs::canonical(installation.UnixPath("C:\\Program Files (x86)\\VARN")));
    EXPECT_EQ(log[1], "C:\\Program Files (x86)\\VARN\\VARN_FULL.EXE");
}

TEST(PackageRunnerTest, EveryMissingPackageCostsTwoMessagesAndTheNextStillRuns) {
    FakeInstallation installation;
    FakeWine wine(installation.root());
    MessageRecorder recorder;
    const std::vector<std::string> plan = MakeInstallPlan(5, 3, 1, 1, false);
    for (const std::string& package : plan) {
        RunPackage(installation.prefix(), kModFolder, kGameFolder, package);
    }
    ASSERT_EQ(recorder.messages().size(), 2 * plan.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        ExpectFailureMessages(recorder.messages(), 2 * i, kModFolder + "\\" + plan[i]);
    }
}

TEST(PackageRunnerTest, MissingWineIsAFailureToStart) {
    FakeInstallation installation;
    FakeWine wine(installation.root());
    ::setenv("WINE", (installation.root() / "no-such-wine").c_str(), 1);
    installation.WriteFile(kModFolder + "\\VARN_FULL.EXE", "MZ");
    MessageRecorder recorder;
    RunPackage(installation.prefix(), kModFolder, kGameFolder, "VARN_FULL.EXE");
    ASSERT_EQ(recorder.messages().size(), 2u);
    ExpectFailureMessages(recorder.messages(), 0, "C:\\VARN\\VARN_FULL.EXE");
}

TEST(PackageRunnerTest, UninstallAllAnsweredNoRunsNothing) {
    testsupport::InstallationOptions options;
    options.eagleWatch = true;
    FakeInstallation installation(options);
    MessageRecorder recorder;
    recorder.QueueAnswer(platform::IDNO);
    GamePaths paths;
    paths.m_strModFolder = kModFolder;
    paths.m_strInstallationPath = kGameFolder;
    EXPECT_FALSE(UninstallAll(installation.prefix(), paths, kGameFolder));
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Are you sure you want to uninstall VARN?");
    EXPECT_EQ(recorder.messages()[0].caption, "Uninstall VARN");
    EXPECT_EQ(recorder.messages()[0].style, platform::MB_YESNO);
}

TEST(PackageRunnerTest, UninstallAllRunsBothPackagesInOrder) {
    testsupport::InstallationOptions options;
    options.eagleWatch = true;
    FakeInstallation installation(options);
    FakeWine wine(installation.root());
    MessageRecorder recorder;
    recorder.QueueAnswer(platform::IDYES);
    GamePaths paths;
    paths.m_strModFolder = kModFolder;
    paths.m_strInstallationPath = kGameFolder;
    EXPECT_TRUE(UninstallAll(installation.prefix(), paths, kGameFolder));
    ASSERT_EQ(recorder.messages().size(), 5u);
    ExpectFailureMessages(recorder.messages(), 1, "C:\\VARN\\VARN_UNINSTALL.EXE");
    ExpectFailureMessages(recorder.messages(), 3, "C:\\VARN\\VARN_ORG_GO.EXE");
}

TEST(PackageRunnerTest, UninstallAllStopsWhenTheVersionCheckRefuses) {
    FakeInstallation installation;  // no Eagle Watch, no executable
    MessageRecorder recorder;
    recorder.QueueAnswer(platform::IDYES);
    GamePaths paths;
    paths.m_strModFolder = kModFolder;
    paths.m_strInstallationPath = kGameFolder;
    EXPECT_FALSE(UninstallAll(installation.prefix(), paths, kGameFolder));
    ASSERT_EQ(recorder.messages().size(), 2u);
    EXPECT_EQ(recorder.messages()[1].caption, "VARN Install Aborted");
}

TEST(GameLaunchTest, StartsTheGameFromItsFolder) {
    FakeInstallation installation;
    FakeWine wine(installation.root());
    installation.WriteFile(kGameFolder + "RainbowSix.exe", "MZ");
    MessageRecorder recorder;
    StartGameProgram(installation.prefix(), kGameFolder, kRainbowSixExe);
    EXPECT_TRUE(recorder.messages().empty());
    const std::vector<std::string> log = wine.WaitForLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(fs::canonical(log[0]), fs::canonical(installation.UnixPath(kGameFolder)));
    EXPECT_EQ(log[1], "C:\\Games\\Rainbow Six\\RainbowSix.exe");
}

TEST(GameLaunchTest, MissingProgramShowsItsFullPath) {
    FakeInstallation installation;
    FakeWine wine(installation.root());
    MessageRecorder recorder;
    StartGameProgram(installation.prefix(), kGameFolder, kRainbowSixMpExe);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text,
              "Failed to start C:\\Games\\Rainbow Six\\RainbowSixMP.exe");
    EXPECT_EQ(recorder.messages()[0].style, platform::MB_ICONHAND);
}

TEST(GameLaunchTest, MissingReadMeShowsNothing) {
    FakeInstallation installation;
    MessageRecorder recorder;
    OpenReadMe(installation.prefix(), kModFolder);
    EXPECT_TRUE(recorder.messages().empty());
}

}  // namespace
}  // namespace varnopts
