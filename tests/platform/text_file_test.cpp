#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "support/fake_installation.h"
#include "support/folder_listing.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

mode_t ModeOf(const fs::path& file) {
    struct stat status {};
    ::stat(file.c_str(), &status);
    return status.st_mode & 07777;
}

TEST(ReadTextLines, SplitsLinesAsTextModeDoes) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},                // a last line without LF is a line
        {"a\r\nb\nc\r\n", {"a", "b", "c"}},  // mixed line ends
        {"a\r\n\r\nb", {"a", "", "b"}},      // empty lines stay
        {"a\r\r\n", {"a\r"}},                // only the CR right before the LF goes
        {"a\rb\n", {"a\rb"}},                // a lone CR is part of the line
        {"end\r", {"end\r"}},                // so is one at the very end
        {"\"Caf\xe9\" \x80\x93\xff\n", {"\"Caf\xe9\" \x80\x93\xff"}},  // Windows-1252 bytes
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},          // NUL kept
    };
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "lines.txt";
    for (const Case& each : cases) {
        WriteBytes(file, each.bytes);
        auto lines = platform::ReadTextLines(file);
        ASSERT_TRUE(lines.ok()) << lines.error().Describe();
        EXPECT_EQ(*lines, each.lines) << testing::PrintToString(each.bytes);
    }
}

TEST(ReadTextLines, AFileThatCannotBeReadIsAnErrorNamingIt) {
    testsupport::TemporaryFolder folder;

    const fs::path missing = folder.path() / "missing.txt";
    auto result = platform::ReadTextLines(missing);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().what, missing.string());
    EXPECT_EQ(result.error().why, "No such file or directory");

    result = platform::ReadTextLines(folder.path());
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().why, "Is a directory");

    if (::geteuid() != 0) {  // root reads anything
        const fs::path locked = folder.path() / "locked.txt";
        WriteBytes(locked, "a\r\n");
        fs::permissions(locked, fs::perms::none);
        result = platform::ReadTextLines(locked);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().why, "Permission denied");
    }
}

TEST(ReadTextLines, ADeviceOrPipeIsRefusedAtOnceNotReadForever) {
    testsupport::TemporaryFolder folder;
    const fs::path pipe = folder.path() / "data.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    for (const fs::path& file : {pipe, fs::path("/dev/zero")}) {
        const auto result = platform::ReadTextLines(file);
        ASSERT_FALSE(result.ok()) << file;
        EXPECT_EQ(result.error().why, "not a regular file");
    }
}

TEST(JoinTextLines, EndsEveryLineWithCrLf) {
    struct Case {
        Lines lines;
        std::string bytes;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, "\r\n"},
        {{"a", "b"}, "a\r\nb\r\n"},
        {{"//\"x\"", "", "\xe9\x80"}, "//\"x\"\r\n\r\n\xe9\x80\r\n"},
        {{"a\nb"}, "a\r\nb\r\n"},  // a line feed inside a line is written as text mode does
    };
    for (const Case& each : cases) {
        EXPECT_EQ(platform::JoinTextLines(each.lines), each.bytes);
    }
}

TEST(JoinTextLines, WhatIsWrittenReadsBackUnchanged) {
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "round.txt";
    const Lines lines = {"\"A\",\"b\"", "", "//\"x\"\t\xe9", "last\r"};
    ASSERT_TRUE(platform::ReplaceFile(file, platform::JoinTextLines(lines)).ok());
    auto read = platform::ReadTextLines(file);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read, lines);
}

class ReplaceFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        first_ = folder_.path() / "primarymp.itm";
        second_ = folder_.path() / "primarymp.txt";
        WriteBytes(first_, "old first\r\n");
        WriteBytes(second_, "old second\r\n");
    }

    std::vector<platform::FileReplacement> Both() const {
        return {{first_, "new first\r\n"}, {second_, "new second\r\n"}};
    }

    testsupport::TemporaryFolder folder_;
    fs::path first_;
    fs::path second_;
};

TEST_F(ReplaceFilesTest, ReplacesEveryFileAndKeepsItsPermissions) {
    fs::permissions(first_, static_cast<fs::perms>(0640));
    fs::permissions(second_, static_cast<fs::perms>(0604));

    ASSERT_TRUE(platform::ReplaceFiles(Both()).ok());

    EXPECT_EQ(ReadBytes(first_), "new first\r\n");
    EXPECT_EQ(ReadBytes(second_), "new second\r\n");
    EXPECT_EQ(ModeOf(first_), 0640u);
    EXPECT_EQ(ModeOf(second_), 0604u);
    EXPECT_EQ(testsupport::EntryNames(folder_.path()),
              (std::set<std::string>{"primarymp.itm", "primarymp.txt"}));
}

TEST_F(ReplaceFilesTest, CreatesAFileThatDidNotExistWithTheUsualPermissions) {
    const fs::path fresh = folder_.path() / "special.txt";
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(platform::ReplaceFile(fresh, "x\r\n").ok());
    ::umask(mask);
    EXPECT_EQ(ReadBytes(fresh), "x\r\n");
    EXPECT_EQ(ModeOf(fresh), 0644u);
}

TEST_F(ReplaceFilesTest, ALinkedFileIsReplacedAndTheLinkKept) {
    const fs::path link = folder_.path() / "link.itm";
    fs::create_symlink(first_.filename(), link);
    ASSERT_TRUE(platform::ReplaceFile(link, "through the link\r\n").ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(first_), "through the link\r\n");
}

TEST_F(ReplaceFilesTest, AMissingFolderIsAnErrorNamingTheFile) {
    const fs::path lost = folder_.path() / "nowhere" / "special.txt";
    const platform::Status status = platform::ReplaceFiles({{first_, "new\r\n"}, {lost, "x"}});
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().what, lost.string());
    EXPECT_EQ(status.error().why, "No such file or directory");
    EXPECT_EQ(ReadBytes(first_), "old first\r\n");
    EXPECT_EQ(testsupport::EntryNames(folder_.path()),
              (std::set<std::string>{"primarymp.itm", "primarymp.txt"}));
}

TEST_F(ReplaceFilesTest, AReadOnlyFileIsNotReplacedNorAnyOther) {
    fs::permissions(second_, static_cast<fs::perms>(0444));
    const platform::Status status = platform::ReplaceFiles(Both());
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().Describe(), second_.string() + ": Permission denied");
    EXPECT_EQ(ReadBytes(first_), "old first\r\n");
    EXPECT_EQ(ReadBytes(second_), "old second\r\n");
    EXPECT_EQ(testsupport::EntryNames(folder_.path()),
              (std::set<std::string>{"primarymp.itm", "primarymp.txt"}));
}

// The real file system, with one chosen step failing on its n-th call.
enum class Step { CreateTemporary, Write, Flush, Close, Rename };

class FailingOperations : public platform::FileOperations {
  public:
    FailingOperations(Step step, int failingCall) : step_(step), failingCall_(failingCall) {}

    platform::Result<Handle> CreateTemporary(const fs::path& target, fs::path& temporary) override {
        if (Fails(Step::CreateTemporary)) {
            return platform::Error{"", "No space left on device"};
        }
        return real_.CreateTemporary(target, temporary);
    }
    platform::Status Write(Handle handle, std::string_view bytes) override {
        return Fails(Step::Write) ? platform::Error{"", "No space left on device"}
                                  : real_.Write(handle, bytes);
    }
    platform::Status Flush(Handle handle) override {
        return Fails(Step::Flush) ? platform::Error{"", "Input/output error"} : real_.Flush(handle);
    }
    platform::Status Close(Handle handle) override {
        const platform::Status closed = real_.Close(handle);  // the descriptor goes in any case
        return Fails(Step::Close) ? platform::Error{"", "Input/output error"} : closed;
    }
    platform::Status Rename(const fs::path& from, const fs::path& to) override {
        return Fails(Step::Rename) ? platform::Error{"", "Permission denied"}
                                   : real_.Rename(from, to);
    }
    void Remove(const fs::path& file) override { real_.Remove(file); }

  private:
    bool Fails(Step step) { return step == step_ && ++calls_ == failingCall_; }

    platform::FileOperations& real_ = platform::RealFileOperations();
    Step step_;
    int failingCall_;
    int calls_ = 0;
};

TEST_F(ReplaceFilesTest, AFailureBeforeTheRenamesReplacesNothingAndLeavesNoTemporary) {
    const Step steps[] = {Step::CreateTemporary, Step::Write, Step::Flush, Step::Close};
    for (Step step : steps) {
        for (int failingCall : {1, 2}) {
            FailingOperations operations(step, failingCall);
            const platform::Status status = platform::ReplaceFiles(Both(), operations);
            const std::string context =
                "step " + std::to_string(int(step)) + ", call " + std::to_string(failingCall);
            ASSERT_FALSE(status.ok()) << context;
            EXPECT_EQ(status.error().what, (failingCall == 1 ? first_ : second_).string())
                << context;
            EXPECT_FALSE(status.error().why.empty()) << context;
            EXPECT_EQ(ReadBytes(first_), "old first\r\n") << context;
            EXPECT_EQ(ReadBytes(second_), "old second\r\n") << context;
            EXPECT_EQ(testsupport::EntryNames(folder_.path()),
                      (std::set<std::string>{"primarymp.itm", "primarymp.txt"}))
                << context;
        }
    }
}

TEST_F(ReplaceFilesTest, AFailedRenameNamesItsFileAndLeavesNoTemporary) {
    FailingOperations failsFirst(Step::Rename, 1);
    platform::Status status = platform::ReplaceFiles(Both(), failsFirst);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().Describe(), first_.string() + ": Permission denied");
    EXPECT_EQ(ReadBytes(first_), "old first\r\n");
    EXPECT_EQ(ReadBytes(second_), "old second\r\n");
    EXPECT_EQ(testsupport::EntryNames(folder_.path()),
              (std::set<std::string>{"primarymp.itm", "primarymp.txt"}));

    FailingOperations failsSecond(Step::Rename, 2);
    status = platform::ReplaceFiles(Both(), failsSecond);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().what, second_.string());
    EXPECT_EQ(ReadBytes(second_), "old second\r\n");
    EXPECT_EQ(testsupport::EntryNames(folder_.path()),
              (std::set<std::string>{"primarymp.itm", "primarymp.txt"}));
}

}  // namespace
