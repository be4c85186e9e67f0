// Starting programs: what wine (a stand-in here) is given, in which folder,
// that failures are told, and that no zombie is left behind.

#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>

#include "support/fake_installation.h"
#include "support/fake_wine.h"

namespace {

namespace fs = std::filesystem;

TEST(ProgramStart, StartsThroughWineWordByWordLeavesNoZombieAndTellsFailures) {
    testsupport::FakeInstallation installation;
    const fs::path package = installation.WriteFile("C:\\Program Files\\VARN\\VARN_FULL.EXE", "MZ");
    installation.WriteFile("C:\\Program Files\\VARN\\readme.txt", "x");
    const auto start = [&](const char* file) {
        return platform::StartProgram(installation.prefix(), file,
                                      "/auto C:\\Program Files\\Game \xe9t\xe9\\",
                                      "C:\\Program Files\\VARN", platform::ShowCommand::Hide);
    };
    {
        testsupport::FakeWine wine;
        ASSERT_TRUE(start("c:\\program files\\varn\\VARN_FULL.EXE"));
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
    const fs::path broken = installation.root() / "broken-wine";
    std::ofstream(broken) << "#!/no/such/interpreter\n";
    fs::permissions(broken, fs::perms::owner_all);
    const std::pair<std::string, std::string> wines[] = {
        {(installation.root() / "no-wine").string(), "install Wine"},
        {broken.string(), "No such file or directory"},  // exec fails: the child tells us
    };
    for (const auto& [program, why] : wines) {
        testsupport::ScopedEnvironment environment("WINE", program);
        const auto failed = start("C:\\Program Files\\VARN\\VARN_FULL.EXE");
        ASSERT_FALSE(failed) << program;
        EXPECT_NE(failed.error().why.find(why), std::string::npos) << failed.error().why;
    }
    testsupport::ScopedEnvironment path("PATH", (installation.root() / "nothing").string());
    EXPECT_FALSE(start("C:\\Program Files\\VARN\\readme.txt")) << "no xdg-open";
}

}  // namespace
