// Replacing files when the process is killed at any moment: every file must
// afterwards hold its whole old or its whole new content, and a temporary a
// kill left is removed by the next replacement. (A step that fails is tried
// step by step on Save itself.)

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
    void Replace() const {
        std::vector<platform::FileReplacement> replacements;
        for (int i = 0; i < 6; ++i) {
            replacements.push_back({names[i], fresh[i]});
        }
        (void)platform::ReplaceFiles(replacements);
    }
    std::vector<fs::path> names;
    std::string old[6], fresh[6];
};

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
    const auto save = [&] { files.Replace(); };
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
