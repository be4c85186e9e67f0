// Starting programs: what wine (a recording stand-in here) is given, in which
// folder, and that failures are told and no zombie is left behind.

#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace {

using testsupport::ScopedEnvironment;

namespace fs = std::filesystem;

class ProgramStart : public testing::Test {
  protected:
    void SetUp() override {
        const fs::path root = folder_.path();
        fs::create_directories(root / "pfx/dosdevices");
        fs::create_directories(root / "pfx/drive_c/Program Files (x86)/VARN");
        fs::create_symlink("../drive_c", root / "pfx/dosdevices/c:");
        std::ofstream(root / "pfx/drive_c/Program Files (x86)/VARN/VARN_FULL.EXE") << "MZ";
        std::ofstream(root / "pfx/drive_c/Program Files (x86)/VARN/readme.txt") << "text";
        prefix_.folder = root / "pfx";
        log_ = root / "started.log";
        // Records its arguments, folder and prefix; the rename makes the log
        // appear complete or not at all.
        WriteScript(root / "bin/wine");
        WriteScript(root / "bin/xdg-open");
    }
    void WriteScript(const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "#!/bin/sh\n{ printf 'PWD=%s\\n' \"$(pwd)\"; "
                               "printf 'WINEPREFIX=%s\\n' \"$WINEPREFIX\"; for a in \"$@\"; do "
                               "printf 'ARG=%s\\n' \"$a\"; done; } > \""
                            << log_.string() << ".new\"\n/bin/mv \"" << log_.string() << ".new\" \""
                            << log_.string() << "\"\n";
        chmod(file.c_str(), 0755);
    }
    std::string WaitForLog() const {
        for (int i = 0; i < 500 && !fs::exists(log_); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::ifstream file(log_);
        std::ostringstream content;
        content << file.rdbuf();
        return content.str();
    }

    testsupport::TemporaryFolder folder_;
    platform::WinePrefix prefix_;
    fs::path log_;
};

TEST_F(ProgramStart, StartsAPackageThroughWineWithItsParametersWordByWord) {
    ScopedEnvironment wine("WINE", (folder_.path() / "bin/wine").string());
    const auto status =
        platform::StartProgram(prefix_, "c:\\program files (x86)\\varn\\VARN_FULL.EXE",
                               "/auto C:\\Program Files (x86)\\Game \xe9t\xe9\\",
                               "C:\\Program Files (x86)\\VARN", platform::ShowCommand::Hide);
    ASSERT_TRUE(status) << status.error().Describe();
    EXPECT_EQ(WaitForLog(),
              "PWD=" + fs::canonical(prefix_.folder / "drive_c/Program Files (x86)/VARN").string() +
                  "\nWINEPREFIX=" + prefix_.folder.string() +
                  "\nARG=c:\\program files (x86)\\varn\\VARN_FULL.EXE\nARG=/auto\n"
                  "ARG=C:\\Program\nARG=Files\nARG=(x86)\\Game\nARG=\xc3\xa9t\xc3\xa9\\\n");

    // The middle process is gone and reaped; the program is not our child.
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(ProgramStart, OpensOtherFilesWithTheDesktopsProgram) {
    ScopedEnvironment path("PATH", (folder_.path() / "bin").string());
    const auto status = platform::StartProgram(prefix_, "C:\\Program Files (x86)\\VARN\\README.TXT",
                                               "", "", platform::ShowCommand::ShowNormal);
    ASSERT_TRUE(status) << status.error().Describe();
    EXPECT_NE(
        WaitForLog().find(
            "ARG=" +
            fs::canonical(prefix_.folder / "drive_c/Program Files (x86)/VARN/readme.txt").string() +
            "\n"),
        std::string::npos);
}

TEST_F(ProgramStart, FailuresAreToldNotHidden) {
    const std::string package = "C:\\Program Files (x86)\\VARN\\VARN_FULL.EXE";
    {
        ScopedEnvironment wine("WINE", (folder_.path() / "bin/wine").string());
        const auto missing = platform::StartProgram(prefix_, "C:\\VARN\\VARN_NO_EW.EXE", "/auto x",
                                                    "C:\\VARN", platform::ShowCommand::Hide);
        ASSERT_FALSE(missing);
        EXPECT_EQ(missing.error().what, "C:\\VARN\\VARN_NO_EW.EXE");
        EXPECT_FALSE(platform::StartProgram(prefix_, package, "", "C:\\No Such Folder",
                                            platform::ShowCommand::Hide));
    }
    {
        ScopedEnvironment wine("WINE", (folder_.path() / "no-wine").string());
        const auto noWine =
            platform::StartProgram(prefix_, package, "", "", platform::ShowCommand::Hide);
        ASSERT_FALSE(noWine);
        EXPECT_NE(noWine.error().why.find("install Wine"), std::string::npos);
    }
    {
        // Found and executable, but exec fails: the child tells us so.
        const fs::path broken = folder_.path() / "bin/broken-wine";
        std::ofstream(broken) << "#!/no/such/interpreter\n";
        chmod(broken.c_str(), 0755);
        ScopedEnvironment wine("WINE", broken.string());
        const auto failed =
            platform::StartProgram(prefix_, package, "", "", platform::ShowCommand::Hide);
        ASSERT_FALSE(failed);
        EXPECT_EQ(failed.error().why, "No such file or directory");
    }
    {
        ScopedEnvironment path("PATH", (folder_.path() / "nothing").string());
        EXPECT_FALSE(platform::StartProgram(prefix_, "C:\\Program Files (x86)\\VARN\\readme.txt",
                                            "", "", platform::ShowCommand::ShowNormal));
    }
    EXPECT_FALSE(fs::exists(log_)) << "nothing was started";
}

}  // namespace
