// Text files as the game keeps them: lines read as text mode reads them,
// written byte for byte with CR LF, replaced whole or not at all.

#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/file_read.h"
#include "support/fake_installation.h"
#include "support/folder_listing.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string ReadBytes(const fs::path& file) {
    return platform::ReadWholeFile(file).value();
}

TEST(TextFile, ReadsLinesAsTextModeDoesAndWritesThemBackWithCrLf) {
    struct Case {
        std::string bytes;
        Lines lines;
        std::string written;  // JoinTextLines(lines)
    };
    const Case cases[] = {
        {"", {}, ""},
        {"\n", {""}, "\r\n"},
        {"a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
        {"a\nb", {"a", "b"}, "a\r\nb\r\n"},                  // a last line without LF is a line
        {"a\r\n\r\nb\n", {"a", "", "b"}, "a\r\n\r\nb\r\n"},  // empty lines stay
        {"a\r\r\n", {"a\r"}, "a\r\r\n"},                     // only the CR right before LF goes
        {"a\rb\nend\r", {"a\rb", "end\r"}, "a\rb\r\nend\r\r\n"},  // a lone CR is text
        {"\"Caf\xe9\" \x80\xff\n", {"\"Caf\xe9\" \x80\xff"}, "\"Caf\xe9\" \x80\xff\r\n"},
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}, std::string("a\0b\r\n", 5)},
    };
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "lines.txt";
    for (const Case& each : cases) {
        std::ofstream(file, std::ios::binary) << each.bytes;
        const auto lines = platform::ReadTextLines(file);
        ASSERT_TRUE(lines.ok()) << lines.error().Describe();
        EXPECT_EQ(*lines, each.lines) << testing::PrintToString(each.bytes);
        ASSERT_TRUE(platform::ReplaceFile(file, platform::JoinTextLines(*lines)).ok());
        EXPECT_EQ(ReadBytes(file), each.written) << testing::PrintToString(each.bytes);
    }
    EXPECT_EQ(platform::JoinTextLines({"a\nb"}), "a\r\nb\r\n");
}

TEST(FileRead, OnlyRegularFilesAreReadAndNothingElseBlocks) {
    testsupport::TemporaryFolder folder;
    const fs::path pipe = folder.path() / "pipe.txt", device = folder.path() / "RainbowSix.exe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", device);
    struct Case {
        fs::path file;
        std::string why;
        int code;
    };
    const Case cases[] = {
        {folder.path() / "missing.txt", "No such file or directory", ENOENT},
        {folder.path(), "Is a directory", EISDIR},
        {pipe, "not a regular file", EINVAL},    // refused at once, not waited on
        {device, "not a regular file", EINVAL},  // not read forever
    };
    for (const Case& c : cases) {
        const auto read = platform::ReadWholeFile(c.file);
        const auto length = platform::RegularFileLength(c.file);
        ASSERT_FALSE(read.ok() || length.ok()) << c.file;
        EXPECT_EQ(read.error().Describe(), c.file.string() + ": " + c.why);
        EXPECT_EQ(read.error().code, c.code);
        EXPECT_EQ(length.error().Describe(), read.error().Describe());
    }
}

TEST(TextFile, ReplacesEveryFileOrNoneKeepingPermissionsAndLinks) {
    testsupport::TemporaryFolder folder;
    const fs::path first = folder.path() / "primarymp.itm", second = folder.path() / "special.txt";
    const auto reset = [&] {
        std::error_code none;
        fs::permissions(second, fs::perms(0644), none);
        std::ofstream(first, std::ios::binary) << "old first\r\n";
        std::ofstream(second, std::ios::binary) << "old second\r\n";
    };
    reset();
    fs::permissions(first, static_cast<fs::perms>(0640));
    fs::create_symlink(second.filename(), folder.path() / "link.txt");
    ASSERT_TRUE(platform::ReplaceFiles({{first, "1\r\n"}, {folder.path() / "link.txt", "2\r\n"}}));
    EXPECT_EQ(ReadBytes(first) + ReadBytes(second), "1\r\n2\r\n");
    EXPECT_EQ(fs::status(first).permissions(), fs::perms(0640));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.txt"));

    const auto names = testsupport::EntryNames(folder.path());
    struct Failure {
        fs::perms mode;
        fs::path failing;
        bool declined;
        int code;
    } const failures[] = {
        {fs::perms(0444), second, false, EACCES},  // read-only: refused as on Windows
        {fs::perms(0644), folder.path() / "nowhere" / "x.txt", false, ENOENT},
        {fs::perms(0644), second, true, ECANCELED},  // called off once all is written
    };
    for (const Failure& f : failures) {
        reset();
        fs::permissions(second, f.mode);
        const auto status =
            platform::ReplaceFiles({{first, "new\r\n"}, {f.failing, "new\r\n"}},
                                   platform::RealFileOperations(), [&] { return !f.declined; });
        ASSERT_FALSE(status.ok()) << f.failing;
        EXPECT_EQ(status.error().code, f.code) << f.failing;
        EXPECT_EQ(ReadBytes(first) + ReadBytes(second), "old first\r\nold second\r\n");
        EXPECT_EQ(testsupport::EntryNames(folder.path()), names) << "no temporary is left";
    }
}

}  // namespace
