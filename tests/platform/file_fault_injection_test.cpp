// Replacing files when anything goes wrong: a step that fails, or a process
// killed at any moment. Every file must afterwards hold its whole old or its
// whole new content, and no temporary may stay but one a kill left, which
// the next replacement removes.

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "platform/file_read.h"
#include "platform/leftover_temporaries.h"
#include "platform/text_file.h"
#include "support/failing_file_operations.h"
#include "support/fake_installation.h"
#include "support/folder_listing.h"

namespace {

namespace fs = std::filesystem;
using testsupport::EntryNames;

std::string ReadBytes(const fs::path& file) {
    return platform::ReadWholeFile(file).value();
}

// Six files of one folder as Save replaces them.
struct Files {
    Files(const fs::path& folder, int lines) {
        for (int i = 0; i < 6; ++i) {
            names.push_back(folder / ("kit" + std::to_string(i)));
            for (int line = 0; line < lines + i; ++line) {
                old[i] += line < lines ? "old line " + std::to_string(line) + "\r\n" : "";
                fresh[i] += "new line " + std::to_string(line) + "\r\n";
            }
        }
        WriteOld();
    }
    void WriteOld() const {
        for (int i = 0; i < 6; ++i) {
            std::ofstream(names[i], std::ios::binary) << old[i];
        }
    }
    // How many files hold their new content; -1 when one holds neither whole.
    int NewCount() const {
        int count = 0;
        for (int i = 0; i < 6; ++i) {
            const std::string now = ReadBytes(names[i]);
            count += now == fresh[i] ? 1 : now == old[i] ? 0 : -100;
        }
        return std::max(count, -1);
    }
    platform::Status Replace(platform::FileOperations& operations) const {
        std::vector<platform::FileReplacement> replacements;
        for (int i = 0; i < 6; ++i) {
            replacements.push_back({names[i], fresh[i]});
        }
        return platform::ReplaceFiles(replacements, operations);
    }
    std::vector<fs::path> names;
    std::string old[6], fresh[6];
};

TEST(FileFaultInjection, FailingAtAnyStepReplacesNothingOrOnlyWholeFiles) {
    testsupport::TemporaryFolder folder;
    const Files files(folder.path(), 20);
    const auto entries = EntryNames(folder.path());
    for (int failAt = 0;; ++failAt) {
        files.WriteOld();
        testsupport::FaultInjectingOperations operations(failAt);
        const platform::Status status = files.Replace(operations);
        const std::string step =
            "step " + std::to_string(failAt) + " (" + operations.failedStep() + ")";
        EXPECT_EQ(EntryNames(folder.path()), entries) << step << ": a temporary is left";
        if (!operations.failed()) {
            ASSERT_TRUE(status.ok()) << status.error().Describe();
            EXPECT_EQ(files.NewCount(), 6);
            EXPECT_EQ(failAt, 5 * 6) << "create, write, flush, close, rename per file";
            break;
        }
        ASSERT_FALSE(status.ok()) << step << " failed, yet success was reported";
        EXPECT_NE(status.error().Describe().find(folder.path().string()), std::string::npos);
        EXPECT_EQ(status.error().code, ENOSPC) << step;
        // Nothing is renamed before every new file is on disk; a failed
        // rename leaves the files before it new and the rest old.
        EXPECT_EQ(files.NewCount(), std::max(0, failAt - 4 * 6)) << step;
    }
}

TEST(FileFaultInjection, TheNextReplacementRemovesLeftoverTemporariesAndNothingElse) {
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "special.txt";
    for (const char* name : {"special.txt", ".special.txt.bak", "special.txt.Ab12Cd",
                             ".primarymp.itm.Ab12Cd", ".special.txt.Ab12C", ".SPECIAL.TXT.Ab12Cd",
                             ".special.txt.Ab12Cd", ".special.txt.zz99ZZ"}) {
        std::ofstream(folder.path() / name) << "the user's";
    }
    fs::create_directory(folder.path() / ".special.txt.Folder");
    ASSERT_TRUE(platform::ReplaceFile(file, "new\r\n").ok());
    EXPECT_EQ(EntryNames(folder.path()),
              (std::set<std::string>{"special.txt", ".special.txt.bak", "special.txt.Ab12Cd",
                                     ".primarymp.itm.Ab12Cd", ".special.txt.Ab12C",
                                     ".SPECIAL.TXT.Ab12Cd", ".special.txt.Folder"}));
}

// A few dozen kills at random moments, spread over a little more than a
// save of six files takes.
TEST(FileFaultInjection, KilledAtAnyMomentEachFileIsWhole) {
#ifdef LW_SANITIZE
    GTEST_SKIP() << "forking under the sanitizers is slow and adds nothing here";
#endif
    testsupport::TemporaryFolder folder;
    const Files files(folder.path(), 2000);
    const auto entries = EntryNames(folder.path());
    const auto save = [&] { (void)files.Replace(platform::RealFileOperations()); };
    const auto start = std::chrono::steady_clock::now();
    save();
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::mt19937 random(20240601);
    std::uniform_int_distribution<long> moment(0, std::max<long>(200, took.count() * 3 / 2));
    for (int run = 0; run < 40; ++run) {
        files.WriteOld();
        const bool done = testsupport::RunAndKill(save, std::chrono::microseconds(moment(random)));
        const int newCount = files.NewCount();
        ASSERT_GE(newCount, 0) << "run " << run << ": a file is torn";
        EXPECT_TRUE(!done || newCount == 6) << "run " << run;
    }
    files.WriteOld();
    save();
    EXPECT_EQ(files.NewCount(), 6);
    EXPECT_EQ(EntryNames(folder.path()), entries) << "the next save removes what killed ones left";
}

}  // namespace
