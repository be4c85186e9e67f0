// Text files as the game keeps them: lines read as text mode reads them,
// written byte for byte with CR LF, replaced whole or not at all.

#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "support/fake_installation.h"
#include "support/folder_listing.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned ModeOf(const fs::path& file) {
    return static_cast<unsigned>(fs::status(file).permissions());
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

TEST(TextFile, WhatCannotBeReadIsAnErrorNamingIt) {
    testsupport::TemporaryFolder folder;
    const fs::path pipe = folder.path() / "pipe.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<fs::path, std::string> cases[] = {
        {folder.path() / "missing.txt", "No such file or directory"},
        {folder.path(), "Is a directory"},
        {pipe, "not a regular file"},  // refused at once, not read forever
        {"/dev/zero", "not a regular file"},
    };
    for (const auto& [file, why] : cases) {
        const auto result = platform::ReadTextLines(file);
        ASSERT_FALSE(result.ok()) << file;
        EXPECT_EQ(result.error().Describe(), file.string() + ": " + why);
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
    EXPECT_EQ(ModeOf(first), 0640u);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.txt"));

    const auto names = testsupport::EntryNames(folder.path());
    const fs::path lost = folder.path() / "nowhere" / "x.txt";
    const std::pair<fs::perms, fs::path> failures[] = {
        {fs::perms(0444), second},  // read-only: refused as on Windows, not renamed over
        {fs::perms(0644), lost},
    };
    for (const auto& [mode, failing] : failures) {
        reset();
        fs::permissions(second, mode);
        const auto status = platform::ReplaceFiles({{first, "new\r\n"}, {failing, "new\r\n"}});
        ASSERT_FALSE(status.ok()) << failing;
        EXPECT_EQ(status.error().what, failing.string());
        EXPECT_EQ(ReadBytes(first) + ReadBytes(second), "old first\r\nold second\r\n");
        EXPECT_EQ(testsupport::EntryNames(folder.path()), names) << "no temporary is left";
    }
}

}  // namespace
