// Replacing files when anything goes wrong: a step that fails, or a process
// killed at any moment. Every file must afterwards hold its complete old or
// its complete new content, and no temporary file may stay behind but one a
// kill left, which the next replacement removes.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/failing_file_operations.h"
#include "platform/leftover_temporaries.h"
#include "platform/registry.h"
#include "platform/registry_file.h"
#include "platform/registry_writer.h"
#include "platform/text_file.h"
#include "support/fake_installation.h"
#include "support/folder_listing.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FaultInjectingOperations;
using testsupport::RunAndKill;
using testsupport::EntryNames;

constexpr int kKillRuns = 100;

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const fs::path& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

// Content large enough that writing it takes a while, different in every
// file and between old and new.
std::string Content(const std::string& tag, std::size_t lines) {
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        text += tag + " line " + std::to_string(i) + "\r\n";
    }
    return text;
}

// Six files of the same folder, as Save replaces them.
class SixFiles {
  public:
    explicit SixFiles(const fs::path& folder, std::size_t lines = 200) {
        const char* names[] = {"primarymp.itm", "secondarymp.itm", "specialmp.itm",
                               "primarymp.txt", "secondarymp.txt", "special.txt"};
        for (int i = 0; i < 6; ++i) {
            files_.push_back(folder / names[i]);
            old_.push_back(Content("old " + std::to_string(i), lines + 37 * i));
            new_.push_back(Content("new " + std::to_string(i), lines + 53 * i));
        }
        WriteOld();
    }

    void WriteOld() const {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            WriteFile(files_[i], old_[i]);
        }
    }
    std::vector<platform::FileReplacement> Replacements() const {
        std::vector<platform::FileReplacement> replacements;
        for (std::size_t i = 0; i < files_.size(); ++i) {
            replacements.push_back({files_[i], new_[i]});
        }
        return replacements;
    }
    // How many files hold their new content; -1 when any holds neither
    // its whole old nor its whole new content.
    int NewCount() const {
        int count = 0;
        for (std::size_t i = 0; i < files_.size(); ++i) {
            const std::string now = ReadFile(files_[i]);
            if (now == new_[i]) {
                ++count;
            } else if (now != old_[i]) {
                return -1;
            }
        }
        return count;
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const fs::path& file : files_) {
            names.insert(file.filename().string());
        }
        return names;
    }

  private:
    std::vector<fs::path> files_;
    std::vector<std::string> old_;
    std::vector<std::string> new_;
};

TEST(FileFaultInjection, ReplaceFilesFailingAtAnyStepReplacesNothingOrOnlyWholeFiles) {
    testsupport::TemporaryFolder folder;
    const SixFiles files(folder.path(), 20);
    int failures = 0;
    for (int failAt = 0;; ++failAt) {
        files.WriteOld();
        FaultInjectingOperations operations(failAt);
        const platform::Status status = platform::ReplaceFiles(files.Replacements(), operations);
        const std::string step =
            "step " + std::to_string(failAt) + " (" + operations.failedStep() + ")";
        EXPECT_EQ(EntryNames(folder.path()), files.Names()) << step << ": no temporary is left";
        if (!operations.failed()) {
            ASSERT_TRUE(status.ok()) << status.error().Describe();
            EXPECT_EQ(files.NewCount(), 6);
            EXPECT_EQ(failAt, 30) << "create, write, flush and close for each of six files, "
                                     "then six renames";
            break;
        }
        ++failures;
        ASSERT_FALSE(status.ok()) << step << " failed, yet the replacement reported success";
        EXPECT_NE(status.error().Describe().find("No space left on device"), std::string::npos);
        const int renamesDone = std::max(0, failAt - 24);
        EXPECT_EQ(files.NewCount(), renamesDone)
            << step
            << ": nothing is replaced before every new file is on disk, and a "
               "failed rename leaves the files before it new and the rest old";
    }
    std::cout << "[ counts   ] ReplaceFiles: " << failures << " injected failures\n";
}

TEST(FileFaultInjection, RegistryReplaceFailingAtAnyStepLeavesTheFileAsItWas) {
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "system.reg";
    const std::string old = "WINE REGISTRY Version 2\n" + Content("old", 100);
    const std::string fresh = "WINE REGISTRY Version 2\n" + Content("new", 120);
    int failures = 0;
    for (int failAt = 0;; ++failAt) {
        WriteFile(file, old);
        ::chmod(file.c_str(), 0640);
        FaultInjectingOperations operations(failAt);
        const auto result = platform::registry_writer::ReplaceAtomically(
            file, fresh, [] { return true; }, operations);
        EXPECT_EQ(EntryNames(folder.path()), std::set<std::string>{"system.reg"}) << failAt;
        if (!operations.failed()) {
            EXPECT_EQ(result.outcome, platform::registry_writer::ReplaceOutcome::Replaced);
            EXPECT_EQ(ReadFile(file), fresh);
            EXPECT_EQ(failAt, 5) << "create, write, flush, close, rename";
            break;
        }
        ++failures;
        EXPECT_EQ(result.outcome, platform::registry_writer::ReplaceOutcome::Failed)
            << operations.failedStep();
        EXPECT_NE(result.error.Describe().find("system.reg"), std::string::npos);
        EXPECT_EQ(ReadFile(file), old) << operations.failedStep();
    }
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u) << "the new file keeps the old one's permissions";
    std::cout << "[ counts   ] registry replace: " << failures << " injected failures\n";
}

TEST(FileFaultInjection, TemporaryNamesAreRecognisedExactly) {
    const fs::path target = "/x/primarymp.itm";
    struct Case {
        const char* name;
        bool temporary;
    };
    const Case cases[] = {
        {".primarymp.itm.a1B2c3", true},  {".primarymp.itm.XXXXXX", true},
        {".primarymp.itm.a1B2c", false},  {".primarymp.itm.a1B2c34", false},
        {".primarymp.itm.a1-2c3", false}, {"primarymp.itm.a1B2c3", false},
        {".PRIMARYMP.ITM.a1B2c3", false}, {".primarymp.txt.a1B2c3", false},
        {".primarymp.itm", false},        {"primarymp.itm", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::IsTemporaryFor(target, fs::path("/x") / c.name), c.temporary) << c.name;
    }
}

TEST(FileFaultInjection, TheNextReplacementRemovesLeftoverTemporariesAndNothingElse) {
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "special.txt";
    WriteFile(file, "old\r\n");
    const std::set<std::string> kept = {"special.txt", ".special.txt.bak", "special.txt.Ab12Cd",
                                        ".primarymp.itm.Ab12Cd", ".special.txt.Folder"};
    WriteFile(folder.path() / ".special.txt.Ab12Cd", "half a sa");
    WriteFile(folder.path() / ".special.txt.zz99ZZ", "");
    WriteFile(folder.path() / ".special.txt.bak", "the user's");
    WriteFile(folder.path() / "special.txt.Ab12Cd", "the user's");
    WriteFile(folder.path() / ".primarymp.itm.Ab12Cd", "another file's");
    fs::create_directory(folder.path() / ".special.txt.Folder");

    ASSERT_TRUE(platform::ReplaceFile(file, "new\r\n").ok());
    EXPECT_EQ(ReadFile(file), "new\r\n");
    EXPECT_EQ(EntryNames(folder.path()), kept);

    const fs::path registry = folder.path() / "system.reg";
    WriteFile(registry, "WINE REGISTRY Version 2\n");
    WriteFile(folder.path() / ".system.reg.q1W2e3", "WINE REG");
    const auto result = platform::registry_writer::ReplaceAtomically(
        registry, "WINE REGISTRY Version 2\n\n", [] { return true; });
    EXPECT_EQ(result.outcome, platform::registry_writer::ReplaceOutcome::Replaced);
    EXPECT_FALSE(fs::exists(folder.path() / ".system.reg.q1W2e3"));
}

// A random delay spread over a little more than the time the work takes.
class KillMoments {
  public:
    explicit KillMoments(std::chrono::microseconds workTime)
        : distribution_(0, std::max<long>(200, workTime.count() * 6 / 5)) {}
    std::chrono::microseconds Next() { return std::chrono::microseconds(distribution_(random_)); }

  private:
    std::mt19937 random_{20240601};
    std::uniform_int_distribution<long> distribution_;
};

TEST(FileFaultInjection, KilledWhileReplacingSixFilesEachFileIsWhole) {
    testsupport::TemporaryFolder folder;
    const SixFiles files(folder.path(), 2000);
    const auto replacements = files.Replacements();
    const auto save = [&] { (void)platform::ReplaceFiles(replacements); };
    KillMoments moments(testsupport::TimeInChild(save));
    files.WriteOld();

    int finished = 0, untouched = 0, mixed = 0, leftovers = 0;
    for (int run = 0; run < kKillRuns; ++run) {
        files.WriteOld();
        const bool done = RunAndKill(save, moments.Next());
        const int newCount = files.NewCount();
        ASSERT_GE(newCount, 0) << "run " << run
                               << ": a file holds neither its old nor its new content";
        if (done) {
            ++finished;
            ASSERT_EQ(newCount, 6) << "run " << run;
            ASSERT_EQ(EntryNames(folder.path()), files.Names()) << "run " << run;
        } else if (newCount == 0) {
            ++untouched;
        } else if (newCount < 6) {
            ++mixed;  // killed between two renames: each file whole, the group not
        }
        if (EntryNames(folder.path()) != files.Names()) {
            ++leftovers;
        }
    }
    // The next save cleans up whatever the killed ones left.
    ASSERT_TRUE(platform::ReplaceFiles(replacements).ok());
    EXPECT_EQ(files.NewCount(), 6);
    EXPECT_EQ(EntryNames(folder.path()), files.Names());
    std::cout << "[ counts   ] six files killed " << kKillRuns << " times: " << finished
              << " finished, " << untouched << " all old, " << mixed << " some new, " << leftovers
              << " left temporaries (removed by the next save)\n";
}

TEST(FileFaultInjection, KilledWhileWritingTheRegistryTheFileIsWhole) {
    testsupport::FakeInstallation installation;
    // A large registry, so that a kill can land inside the write.
    std::string old = ReadFile(installation.systemReg());
    old += "\n[Software\\\\Padding] 1700000000\n";
    for (int i = 0; i < 20000; ++i) {
        old += "\"Value" + std::to_string(i) + "\"=\"padding padding padding\"\n";
    }
    WriteFile(installation.systemReg(), old);

    const auto write = [&] {
        platform::RegistryKey key;
        if (platform::RegOpenKey(installation.prefix(), testsupport::GameKeyName(),
                                 platform::KeyAccess::SetValue,
                                 key) == platform::RegStatus::Success) {
            (void)platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.012345");
        }
    };
    const auto workTime = testsupport::TimeInChild(write);
    const std::string fresh = ReadFile(installation.systemReg());
    ASSERT_NE(fresh, old);
    ASSERT_NE(fresh.find("\"MouseRadiansPerPixel\"=\"0.012345\""), std::string::npos);
    KillMoments moments(workTime);

    const fs::path folder = installation.prefix().folder;
    const std::set<std::string> entries = EntryNames(folder);
    int finished = 0, untouched = 0, leftovers = 0;
    for (int run = 0; run < kKillRuns; ++run) {
        WriteFile(installation.systemReg(), old);
        const bool done = RunAndKill(write, moments.Next());
        const std::string now = ReadFile(installation.systemReg());
        ASSERT_TRUE(now == old || now == fresh) << "run " << run << ": system.reg is torn";
        finished += done ? 1 : 0;
        untouched += now == old ? 1 : 0;
        leftovers += EntryNames(folder) != entries ? 1 : 0;
    }
    WriteFile(installation.systemReg(), old);
    write();
    EXPECT_EQ(ReadFile(installation.systemReg()), fresh);
    EXPECT_EQ(EntryNames(folder), entries) << "the next write removes what killed ones left";
    std::cout << "[ counts   ] registry write killed " << kKillRuns << " times: " << finished
              << " finished, " << untouched << " left the old file, " << leftovers
              << " left a temporary (removed by the next write)\n";
}

}  // namespace
