// Starting programs: what wine (a stand-in here) is given, in which folder,
// that failures are told, and that no zombie is left behind. (Documents open
// with the desktop's opener: the options window's Help button.)

#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>

#include "support/fake_installation.h"
#include "support/fake_wine.h"

namespace {

namespace fs = std::filesystem;

TEST(ProgramStart, StartsProgramsThroughWineWordByWordAndLeavesNoZombie) {
    testsupport::FakeInstallation installation;
    const fs::path package = installation.WriteFile("C:\\Program Files\\VARN\\VARN_FULL.EXE", "MZ");
    testsupport::FakeWine wine;
    ASSERT_TRUE(platform::StartProgram(installation.prefix(),
                                       "c:\\program files\\varn\\VARN_FULL.EXE",
                                       "/auto C:\\Program Files\\Game \xe9t\xe9\\",
                                       "C:\\Program Files\\VARN", platform::ShowCommand::Hide));
    const auto calls = wine.WaitForCalls(1, true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments,
              (std::vector<std::string>{"c:\\program files\\varn\\VARN_FULL.EXE", "/auto",
                                        "C:\\Program", "Files\\Game", "\xc3\xa9t\xc3\xa9\\"}));
    EXPECT_EQ(calls[0].folder, fs::canonical(package.parent_path()).string());
    EXPECT_EQ(calls[0].prefix, installation.prefix().folder.string());
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "the middle process is reaped";
    EXPECT_EQ(errno, ECHILD) << "and the program is not our child";
}

TEST(ProgramStart, FailuresAreToldNotHidden) {
    testsupport::FakeInstallation installation;
    installation.WriteFile("C:\\VARN\\VARN_FULL.EXE", "MZ");
    installation.WriteFile("C:\\VARN\\readme.txt", "x");
    const auto start = [&] {
        return platform::StartProgram(installation.prefix(), "C:\\VARN\\VARN_FULL.EXE", "/auto x",
                                      "C:\\VARN", platform::ShowCommand::Hide);
    };
    const fs::path broken = installation.root() / "broken-wine";
    std::ofstream(broken) << "#!/no/such/interpreter\n";
    fs::permissions(broken, fs::perms::owner_all);
    const std::pair<std::string, std::string> wines[] = {
        {(installation.root() / "no-wine").string(), "install Wine"},
        {broken.string(), "No such file or directory"},  // exec fails: the child tells us
    };
    for (const auto& [program, why] : wines) {
        testsupport::ScopedEnvironment environment("WINE", program);
        const auto failed = start();
        ASSERT_FALSE(failed) << program;
        EXPECT_NE(failed.error().why.find(why), std::string::npos) << failed.error().why;
    }
    testsupport::ScopedEnvironment path("PATH", (installation.root() / "nothing").string());
    EXPECT_FALSE(platform::StartProgram(installation.prefix(), "C:\\VARN\\readme.txt", "", "",
                                        platform::ShowCommand::ShowNormal));
}

}  // namespace
