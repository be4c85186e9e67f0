// Text files as the game keeps them: lines read as text mode reads them,
// written with CR LF, replaced whole or not at all, even when killed.

#include "platform/text_file.h"
#include "platform/file_replacement.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <thread>

#include "platform/file_read.h"
#include "support/fake_installation.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FileBytes;
using Lines = std::vector<std::string>;

std::set<std::string> EntryNames(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(TextFile, ReadsLinesAsTextModeDoesAndWritesThemBackWithCrLf) {
    // The bytes on disk, the lines read, and the bytes written back.
    const std::tuple<std::string, Lines, std::string> cases[] = {
        {"", {}, ""},
        {"\n", {""}, "\r\n"},
        {"a\nb", {"a", "b"}, "a\r\nb\r\n"},                  // a last line without LF is a line
        {"a\r\n\r\nb\n", {"a", "", "b"}, "a\r\n\r\nb\r\n"},  // empty lines stay
        {"a\r\r\n", {"a\r"}, "a\r\r\n"},                     // only the CR right before LF goes
        {"a\rb\nend\r", {"a\rb", "end\r"}, "a\rb\r\nend\r\r\n"},  // a lone CR is text
        {"\"Caf\xe9\" \x80\xff\n", {"\"Caf\xe9\" \x80\xff"}, "\"Caf\xe9\" \x80\xff\r\n"},
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}, std::string("a\0b\r\n", 5)},
    };
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "lines.txt";
    for (const auto& [bytes, lines, written] : cases) {
        std::ofstream(file, std::ios::binary) << bytes;
        const auto read = platform::ReadTextLines(file);
        ASSERT_TRUE(read.ok()) << read.error().Describe();
        EXPECT_EQ(*read, lines) << testing::PrintToString(bytes);
        ASSERT_TRUE(platform::ReplaceFile(file, platform::JoinTextLines(*read)).ok());
        EXPECT_EQ(FileBytes(file), written) << testing::PrintToString(bytes);
    }
}

TEST(TextFile, OnlyRegularFilesAreReadAndNothingElseBlocks) {
    testsupport::TemporaryFolder folder;
    const fs::path pipe = folder.path() / "pipe.txt", device = folder.path() / "RainbowSix.exe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", device);
    const std::tuple<fs::path, std::string, int> cases[] = {
        {folder.path() / "missing.txt", "No such file or directory", ENOENT},
        {folder.path(), "Is a directory", EISDIR},
        {pipe, "not a regular file", EINVAL},    // refused at once, not waited on
        {device, "not a regular file", EINVAL},  // not read forever
    };
    for (const auto& [file, why, code] : cases) {
        const auto read = platform::ReadWholeFile(file);
        const auto length = platform::RegularFileLength(file);
        ASSERT_FALSE(read.ok() || length.ok()) << file;
        EXPECT_EQ(read.error().Describe(), file.string() + ": " + why);
        EXPECT_EQ(read.error().code, code);
        EXPECT_EQ(length.error().Describe(), read.error().Describe());
    }
    // Past the limit nothing is read, also where the length is only known by reading (/proc).
    std::ofstream(folder.path() / "kit.txt") << "0123456789";
    EXPECT_TRUE(platform::ReadWholeFile(folder.path() / "kit.txt", 10).ok());
    for (const fs::path& file : {folder.path() / "kit.txt", fs::path("/proc/self/status")}) {
        EXPECT_EQ(platform::ReadWholeFile(file, 9).error().code, EFBIG) << file;
    }
}

TEST(TextFile, ReplacesEveryFileOrNoneKeepingPermissionsAndLinks) {
    testsupport::TemporaryFolder folder;
    const fs::path first = folder.path() / "primarymp.itm", second = folder.path() / "special.txt";
    const auto reset = [&](fs::perms secondMode) {
        std::error_code none;
        fs::permissions(second, fs::perms(0644), none);
        std::ofstream(first, std::ios::binary) << "old first\r\n";
        std::ofstream(second, std::ios::binary) << "old second\r\n";
        fs::permissions(second, secondMode);
    };
    reset(fs::perms(0644));
    fs::permissions(first, fs::perms(0640));
    fs::create_symlink(second.filename(), folder.path() / "link.txt");
    ASSERT_TRUE(platform::ReplaceFiles({{first, "1\r\n"}, {folder.path() / "link.txt", "2\r\n"}}));
    EXPECT_EQ(FileBytes(first) + FileBytes(second), "1\r\n2\r\n");
    EXPECT_EQ(fs::status(first).permissions(), fs::perms(0640));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.txt"));

    const auto names = EntryNames(folder.path());
    const std::tuple<fs::perms, fs::path, bool, int> failures[] = {
        {fs::perms(0444), second, false, EACCES},  // read-only: refused as on Windows
        {fs::perms(0644), folder.path() / "nowhere" / "x.txt", false, ENOENT},
        {fs::perms(0644), second, true, ECANCELED},  // called off once all is written
    };
    for (const auto& [mode, failing, declined, code] : failures) {
        reset(mode);
        const auto status =
            platform::ReplaceFiles({{first, "new\r\n"}, {failing, "new\r\n"}},
                                   platform::RealFileOperations(), [no = declined] { return !no; });
        ASSERT_FALSE(status.ok()) << failing;
        EXPECT_EQ(status.error().code, code) << failing;
        EXPECT_EQ(FileBytes(first) + FileBytes(second), "old first\r\nold second\r\n");
        EXPECT_EQ(EntryNames(folder.path()), names) << "no temporary is left";
    }
}

TEST(TextFile, TheNextReplacementRemovesLeftoverTemporariesAndNothingElse) {
    testsupport::TemporaryFolder folder;
    std::set<std::string> kept = {"special.txt",
                                  ".special.txt.backup",
                                  ".special.txt.Ab12Cd",
                                  "special.txt.r6tools-Ab12Cd",
                                  ".primarymp.itm.r6tools-Ab12Cd",
                                  ".special.txt.r6tools-Ab12C",
                                  ".SPECIAL.TXT.r6tools-Ab12Cd"};
    for (const char* name : {".special.txt.r6tools-Ab12Cd", ".special.txt.r6tools-zz99ZZ"}) {
        std::ofstream(folder.path() / name) << "left by a kill";
    }
    for (const std::string& name : kept) {
        std::ofstream(folder.path() / name) << "the user's";
    }
    fs::create_directory(folder.path() / *kept.insert(".special.txt.r6tools-Folder").first);
    ASSERT_TRUE(platform::ReplaceFile(folder.path() / "special.txt", "new\r\n").ok());
    EXPECT_EQ(EntryNames(folder.path()), kept);
}

// Kills at random moments over a little more than a save of six files takes.
TEST(TextFile, KilledAtAnyMomentEachFileIsWhole) {
#ifdef LW_SANITIZE
    GTEST_SKIP() << "forking under the sanitizers is slow and adds nothing here";
#endif
    testsupport::TemporaryFolder folder;
    const std::string old(30000, 'o'), fresh(30000, 'n');  // big enough to take a while
    std::vector<platform::FileReplacement> files;
    for (int i = 0; i < 6; ++i) {
        files.push_back({folder.path() / ("kit" + std::to_string(i)), fresh + std::string(i, 'x')});
    }
    // Saves from old files, killed after delay (never when negative); returns
    // how many files are new, or -1 when a file holds neither whole.
    const auto save = [&](long delay) {
        for (const auto& file : files) {
            std::ofstream(file.file, std::ios::binary) << old;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            (void)platform::ReplaceFiles(files);
            ::_exit(0);
        }
        if (delay >= 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            ::kill(child, SIGKILL);
        }
        ::waitpid(child, nullptr, 0);
        int count = 0;
        for (const auto& file : files) {
            const std::string now = FileBytes(file.file);
            count += now == file.content ? 1 : now == old ? 0 : -100;
        }
        return std::max(count, -1);
    };
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(save(-1), 6);
    const auto entries = EntryNames(folder.path());
    const long took = (std::chrono::steady_clock::now() - start) / std::chrono::microseconds(1);
    std::mt19937 random(20240601);
    std::uniform_int_distribution<long> moment(0, std::max<long>(200, took * 3 / 2));
    for (int run = 0; run < 40; ++run) {
        ASSERT_GE(save(moment(random)), 0) << "run " << run << ": a file is torn";
    }
    EXPECT_EQ(save(-1), 6);
    EXPECT_EQ(EntryNames(folder.path()), entries) << "the next save removes what killed ones left";
}

}  // namespace
