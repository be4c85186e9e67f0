// The registry writer without a wineserver: one value changes, every other
// byte of system.reg stays, and the file is replaced atomically or not at all.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/registry.h"
#include "platform/registry_file.h"
#include "platform/registry_writer.h"
#include "platform/text_file.h"
#include "support/fake_installation.h"

namespace {

using namespace std::string_literals;
using platform::registry_file::RegistryText;
using platform::registry_writer::WithStringValue;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

std::string Edit(const std::string& content, std::u16string_view key, std::u16string_view name,
                 std::u16string_view text) {
    const auto result = WithStringValue(RegistryText(content), key, name, text);
    return result ? *result : "<key not found>";
}

TEST(RegistryWriter, ReplacesAValueInPlaceKeepingEverythingElse) {
    const std::string before =
        "WINE REGISTRY Version 2\r\n\r\n[Software\\\\A] 17\r\n#time=1d\r\n"
        "\"Bin\"=hex:01,02,\\\r\n  03\r\n\"mouse\"=\"0.008727\"\r\n\"Z\"=\"z\"\r\n\r\n"
        "[Software\\\\B] 18\r\n\"Mouse\"=\"other key\"\r\n";
    EXPECT_EQ(Edit(before, u"software\\a\\", u"MOUSE", u"0.012345"),
              "WINE REGISTRY Version 2\r\n\r\n[Software\\\\A] 17\r\n#time=1d\r\n"
              "\"Bin\"=hex:01,02,\\\r\n  03\r\n\"mouse\"=\"0.012345\"\r\n\"Z\"=\"z\"\r\n\r\n"
              "[Software\\\\B] 18\r\n\"Mouse\"=\"other key\"\r\n")
        << "the name keeps its spelling, CR LF stays";
    EXPECT_EQ(Edit(before, u"Software\\A", u"bin", u"now text"),
              "WINE REGISTRY Version 2\r\n\r\n[Software\\\\A] 17\r\n#time=1d\r\n"
              "\"Bin\"=\"now text\"\r\n\"mouse\"=\"0.008727\"\r\n\"Z\"=\"z\"\r\n\r\n"
              "[Software\\\\B] 18\r\n\"Mouse\"=\"other key\"\r\n")
        << "a value on continuation lines becomes one line";
}

TEST(RegistryWriter, AddsANewValueAtTheEndOfItsKeyBlock) {
    const std::string before =
        "WINE REGISTRY Version 2\n\n[Software\\\\A] 17\n#time=1d\n\"X\"=\"1\"\n\n"
        "[Software\\\\B] 18\n";
    EXPECT_EQ(Edit(before, u"Software\\A", u"New \"quoted\"", u"v"),
              "WINE REGISTRY Version 2\n\n[Software\\\\A] 17\n#time=1d\n\"X\"=\"1\"\n"
              "\"New \\\"quoted\\\"\"=\"v\"\n\n[Software\\\\B] 18\n");
    EXPECT_EQ(Edit(before, u"Software\\B", u"", u"default"), before + "@=\"default\"\n");
    EXPECT_EQ(Edit("WINE REGISTRY Version 2\n[Software\\\\B] 18", u"Software\\B", u"N", u"v"),
              "WINE REGISTRY Version 2\n[Software\\\\B] 18\n\"N\"=\"v\"\n")
        << "a file without a last line end";
    EXPECT_EQ(Edit(before, u"Software\\C", u"N", u"v"), "<key not found>");
}

TEST(RegistryWriter, EscapesTextAsWineserverDoes) {
    const std::string before = "WINE REGISTRY Version 2\n[A] 1\n";
    const std::u16string text = platform::registry_file::Cp1252ToUtf16(
        "C:\\Jeux \xe9"
        "a\xe9\\\x80"
        "1\t\"x\"\x01"
        "7");
    EXPECT_EQ(Edit(before, u"A", u"V", text),
              before + "\"V\"=\"C:\\\\Jeux \\x00e9a\\xe9\\\\\\x20ac1\\t\\\"x\\\"\\0017\"\n");

    // And it reads back as it was given.
    const RegistryText written(Edit(before, u"A", u"V", text));
    const auto values = written.ReadValues(written.keys()[0]);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(platform::registry_file::AnsiData(values[0].type, values[0].data),
              "C:\\Jeux \xe9"
              "a\xe9\\\x80"
              "1\t\"x\"\x01"
              "7\0"s);
}

class RegistryWriteFile : public testing::Test {
  protected:
    void SetUp() override {
        before_ =
            "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
            "#arch=win64\n\n"
            "[Software\\\\Wow6432Node\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] "
            "1796594708\n#time=1dd85cddb128622\n\"InstallationPath\"=\"C:\\\\GOG Games\\\\Rainbow "
            "Six\\\\\"\n\"MouseRadiansPerPixel\"=\"0.008727\"\n\n";
        Write(before_);
        chmod(SystemReg().c_str(), 0640);
        prefix_ = platform::LoadPrefix(folder_.path());
    }
    std::filesystem::path SystemReg() const { return folder_.path() / "system.reg"; }
    void Write(const std::string& content) {
        std::ofstream(SystemReg(), std::ios::binary) << content;
    }
    std::string Read() const {
        std::ifstream file(SystemReg(), std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        return content.str();
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(folder_.path()),
                          std::filesystem::directory_iterator()));
    }

    testsupport::TemporaryFolder folder_;
    platform::WinePrefix prefix_;
    std::string before_;
};

TEST_F(RegistryWriteFile, SetsTheValueAndKeepsTheFilesPermissions) {
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.012345"),
              platform::RegStatus::Success);
    std::string expected = before_;
    expected.replace(expected.find("0.008727"), 8, "0.012345");
    EXPECT_EQ(Read(), expected);
    struct stat status {};
    ASSERT_EQ(stat(SystemReg().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(EntryCount(), 1u) << "no temporary file is left";

    platform::RegistryKey reread;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::QueryValue, reread),
              platform::RegStatus::Success);
    char buffer[32];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(platform::RegQueryValue(reread, "MouseRadiansPerPixel", buffer, size),
              platform::RegStatus::Success);
    EXPECT_EQ(std::string(buffer, size), "0.012345\0"s);
}

TEST_F(RegistryWriteFile, RefusesWhatItMustNotWrite) {
    platform::RegistryKey readOnly;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::QueryValue, readOnly),
              platform::RegStatus::Success);
    EXPECT_EQ(platform::RegSetStringValue(readOnly, "MouseRadiansPerPixel", "1"),
              platform::RegStatus::AccessDenied);
    platform::RegistryKey closed;
    EXPECT_EQ(platform::RegSetStringValue(closed, "MouseRadiansPerPixel", "1"),
              platform::RegStatus::Failed);
    EXPECT_EQ(platform::RegOpenKey(prefix_,
                                   "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's "
                                   "Rainbow Six: Eagle Watch\\",
                                   platform::KeyAccess::SetValue, closed),
              platform::RegStatus::NotFound);

    // The key goes away between open and write (a wineserver saved without it).
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    const std::string other = "WINE REGISTRY Version 2\n\n[Software\\\\Other] 1\n";
    Write(other);
    EXPECT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "1"),
              platform::RegStatus::NotFound);
    Write("garbage\n");
    EXPECT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "1"),
              platform::RegStatus::Failed)
        << "a file that is not a registry is never rewritten";
    EXPECT_EQ(Read(), "garbage\n");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(RegistryWriteFile, WithoutWritePermissionTheKeyDoesNotOpenForWriting) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may write anywhere";
    }
    chmod(SystemReg().c_str(), 0440);
    platform::RegistryKey key;
    EXPECT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::AccessDenied);
    EXPECT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::QueryValue, key),
              platform::RegStatus::Success);
}

TEST_F(RegistryWriteFile, ReplaceLeavesTheFileAloneWhenDeclinedOrFailing) {
    const platform::Status declined = platform::ReplaceFiles(
        {{SystemReg(), "new"}}, platform::RealFileOperations(), [] { return false; });
    EXPECT_EQ(declined.error().code, ECANCELED);
    EXPECT_EQ(Read(), before_);
    EXPECT_EQ(EntryCount(), 1u);

    const platform::Status missing =
        platform::ReplaceFile(folder_.path() / "no folder" / "system.reg", "new");
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().Describe().find("no folder"), std::string::npos);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(RegistryWriteFile, AKeyKnownOnlyThroughItsSubkeysGetsItsOwnBlock) {
    Write(before_ + "[Software\\\\Wow6432Node\\\\TORV\\\\VARN MOD 2.0] 1\n\"InstallPath\"=\"x\"\n");
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, "Software\\TORV", platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "Note", "n"), platform::RegStatus::Success);
    const RegistryText file(Read());
    ASSERT_EQ(file.keys().size(), 3u);
    EXPECT_EQ(file.keys()[2].path, u"Software\\Wow6432Node\\TORV");
    EXPECT_EQ(Read().substr(0, before_.size()), before_);
    const auto values = file.ReadValues(file.keys()[2]);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, u"Note");
}

}  // namespace
