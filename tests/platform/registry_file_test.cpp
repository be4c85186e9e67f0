// The registry file reader: every value format and escape, as wineserver
// writes them, read back as a Windows "A" program sees the data.

#include <gtest/gtest.h>

#include <ostream>

#include <fstream>
#include <string>

#include "platform/registry.h"
#include "platform/registry_file.h"
#include "support/fake_installation.h"

namespace {

using namespace std::string_literals;
using platform::registry_file::AnsiData;
using platform::registry_file::RegistryText;

std::string Header(bool win64 = true) {
    return "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"s +
           (win64 ? "#arch=win64\n" : "#arch=win32\n");
}

struct FormatCase {
    const char* label;
    std::string line;  // the value line(s) in the file
    std::uint32_t type;
    std::string ansi;  // what RegQueryValueExA hands back
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FormatCase& param, std::ostream* out) {
    *out << param.label;
}

class ValueFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(ValueFormat, ReadsAsAnAProgramSeesIt) {
    const FormatCase& format = GetParam();
    const RegistryText file(Header() + "\n[Software\\\\Test] 1\n#time=1d\n" + format.line +
                            "\n\"After\"=\"next\"\n");
    ASSERT_EQ(file.keys().size(), 1u);
    const auto values = file.ReadValues(file.keys()[0]);
    ASSERT_EQ(values.size(), 2u) << format.label;
    EXPECT_EQ(values[0].type, format.type) << format.label;
    EXPECT_EQ(AnsiData(values[0].type, values[0].data), format.ansi) << format.label;
    EXPECT_EQ(values[1].name, u"After") << "the value after it is found again: " << format.label;
}

INSTANTIATE_TEST_SUITE_P(
    RegistryFile, ValueFormat,
    testing::Values(
        FormatCase{"plain text", "\"V\"=\"0.008727\"", 1, "0.008727\0"s},
        FormatCase{"empty text", "\"V\"=\"\"", 1, "\0"s},
        FormatCase{"default value", "@=\"chm.file\"", 1, "chm.file\0"s},
        FormatCase{"backslash and quote", R"("V"="C:\\Games\\\"R6\"\\")", 1,
                   "C:\\Games\\\"R6\"\\\0"s},
        FormatCase{"control escapes", R"("V"="a\nb\rc\td\ae\bf\fg\vh\ei")", 1,
                   "a\nb\rc\td\ae\bf\fg\vh\x1bi\0"s},
        FormatCase{"octal escapes", R"("V"="\0\1\0123\177")", 1, "\0\1\n3\x7f\0"s},
        FormatCase{"hex escape, short form", R"("V"="caf\xe9!")", 1, "caf\xe9!\0"s},
        FormatCase{"hex escape, four digits before a hex digit", R"("V"="\x00e9a\x20ac")", 1,
                   "\xe9"
                   "a\x80\0"s},
        FormatCase{"unmappable unit becomes ?", R"("V"="\x4e2d")", 1, "?\0"s},
        FormatCase{"raw UTF-8 text", "\"V\"=\"caf\xc3\xa9\"", 1, "caf\xe9\0"s},
        FormatCase{"expandable text", R"("V"=str(2):"%ProgramFiles%\\VARN")", 2,
                   "%ProgramFiles%\\VARN\0"s},
        FormatCase{"multi text", R"("V"=str(7):"a\0bc\0")", 7, "a\0bc\0\0"s},
        FormatCase{"dword", "\"V\"=dword:0000012c", 4, "\x2c\x01\0\0"s},
        FormatCase{"binary", "\"V\"=hex:01,ff,00", 3, "\x01\xff\0"s},
        FormatCase{"binary on continuation lines", "\"V\"=hex:01,02,\\\n  03,04,\\\n  05", 3,
                   "\x01\x02\x03\x04\x05"s},
        FormatCase{"text under a dword tag", "\"V\"=hex(4):30,00,2e,00,35,00,00,00", 4, "0.5\0"s},
        FormatCase{"dword-sized data under hex(4) stays raw", "\"V\"=hex(4):30,00,00,00,00,00", 4,
                   "0\0\0\0\0\0"s},
        FormatCase{"multi text as hex(7)", "\"V\"=hex(7):61,00,00,00,62,00,00,00,00,00", 7,
                   "a\0b\0\0"s},
        FormatCase{"link target stays raw without its zero", "\"V\"=hex(6):5c,00,52,00", 6,
                   "\x5c\0\x52\0"s},
        FormatCase{"text as REG_SZ in hex form", "\"V\"=hex(1):41,00,00,00", 1, "A\0"s},
        FormatCase{"Wine's private types", "@=hex(ffff0007):03,00,00,00", 0xffff0007u,
                   "\x03\0\0\0"s},
        FormatCase{"binary that only looks like text with a control character",
                   "\"V\"=hex:01,00,00,00", 3, "\x01\0\0\0"s},
        FormatCase{"escaped name", R"("Na\"me\\"="x")", 1, "x\0"s},
        FormatCase{"blanks around =", "\"V\" = \"x\"", 1, "x\0"s}),
    [](const testing::TestParamInfo<FormatCase>& info) {
        return "Case" + std::to_string(info.index);
    });

TEST(RegistryFile, KeyLinesOptionsAndLineEnds) {
    const RegistryText file(
        "WINE REGISTRY Version 2\r\n#arch=win64\r\n\r\n"
        "[Software\\\\A\\]B\\\\C\\\\] 1796594706\r\n#time=1dd85cdda29ee9e\r\n"
        "#class=\"Shell\"\r\n#unknown option\r\n;comment\r\n\"X\"=\"1\"\r\n\r\n"
        "[System\\\\Link] 5\r\n#link\r\n\"SymbolicLinkValue\"=hex(6):5c,00\r\n"
        "not a value\r\n\"Y\"=\"2\"");
    EXPECT_TRUE(file.HasValidHeader());
    EXPECT_TRUE(file.IsWin64());
    ASSERT_EQ(file.keys().size(), 2u);
    EXPECT_EQ(file.keys()[0].path, u"Software\\A]B\\C") << "escapes and trailing backslash";
    EXPECT_FALSE(file.keys()[0].isLink);
    EXPECT_TRUE(file.keys()[1].isLink);
    const auto first = file.ReadValues(file.keys()[0]);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].name, u"X");
    EXPECT_EQ(first[0].data, "1\0\0\0"s) << "no CR in the data";
    const auto second = file.ReadValues(file.keys()[1]);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[1].name, u"Y");
    EXPECT_EQ(file.LineEnd(0), "\r\n");
    EXPECT_EQ(file.LineEnd(file.LineCount() - 1), "");
}

TEST(RegistryFile, RejectsAFileWithoutTheHeader) {
    EXPECT_FALSE(RegistryText("REGEDIT4\n[Software\\\\A] 1\n").HasValidHeader());
    EXPECT_FALSE(RegistryText("").HasValidHeader());
}

// A prefix whose system.reg holds the given text.
class RegistryRead : public testing::Test {
  protected:
    platform::WinePrefix Prefix(const std::string& content) {
        std::ofstream(folder_.path() / "system.reg", std::ios::binary) << content;
        return platform::LoadPrefix(folder_.path());
    }
    testsupport::TemporaryFolder folder_;
};

TEST_F(RegistryRead, QueriesThroughTheThirtyTwoBitViewCaseInsensitively) {
    const auto prefix = Prefix(Header() +
                               "\n[Software\\\\Wow6432Node\\\\Red Storm Entertainment\\\\Tom "
                               "Clancy's Rainbow Six] 1\n\"MouseRadiansPerPixel\"=\"0.008727\"\n"
                               "\n[Software\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow "
                               "Six] 1\n\"MouseRadiansPerPixel\"=\"64-bit view\"\n");
    ASSERT_TRUE(prefix.win64);
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix,
                                   "SOFTWARE\\RED STORM ENTERTAINMENT\\tom clancy's rainbow six\\",
                                   platform::KeyAccess::QueryValue, key),
              platform::RegStatus::Success);
    char buffer[260] = {};
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(platform::RegQueryValue(key, "mouseradiansperpixel", buffer, size),
              platform::RegStatus::Success);
    EXPECT_EQ(std::string(buffer, size), "0.008727\0"s);

    size = 9;
    EXPECT_EQ(platform::RegQueryValue(key, "MouseRadiansPerPixel", buffer, size),
              platform::RegStatus::Success)
        << "exactly the size with the zero fits";
    size = 8;
    EXPECT_EQ(platform::RegQueryValue(key, "MouseRadiansPerPixel", buffer, size),
              platform::RegStatus::MoreData);
    EXPECT_EQ(size, 9u) << "the needed size comes back";
    size = 0;
    EXPECT_EQ(platform::RegQueryValue(key, "MouseRadiansPerPixel", nullptr, size),
              platform::RegStatus::Success);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(platform::RegQueryValue(key, "VARNDEV", buffer, size), platform::RegStatus::NotFound);
    platform::RegCloseKey(key);
    EXPECT_EQ(platform::RegQueryValue(key, "MouseRadiansPerPixel", buffer, size),
              platform::RegStatus::Failed);
}

TEST_F(RegistryRead, WinThirtyTwoPrefixHasNoRedirection) {
    const auto prefix = Prefix(
        Header(false) + "\n[Software\\\\TORV\\\\VARN MOD 2.0] 1\n\"InstallPath\"=\"C:\\\\V\"\n");
    ASSERT_FALSE(prefix.win64);
    platform::RegistryKey key;
    EXPECT_EQ(platform::RegOpenKey(prefix, "SOFTWARE\\TORV\\VARN MOD 2.0",
                                   platform::KeyAccess::QueryValue, key),
              platform::RegStatus::Success);
}

TEST_F(RegistryRead, KeysExistThroughTheirSubkeysAndLinks) {
    const auto prefix = Prefix(
        Header() +
        "\n[Software\\\\Wow6432Node\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six: "
        "Eagle Watch] 1\n\"X\"=\"1\"\n"
        "\n[Software\\\\Wow6432Node\\\\Linked] 1\n#link\n"
        "\"SymbolicLinkValue\"=hex(6):5c,00,52,00,45,00,47,00,49,00,53,00,54,00,52,00,59,00,5c,"
        "00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00,5c,00,54,00,61,00,72,00,67,00,65,00,74,00\n"
        "\n[Target\\\\Sub] 1\n\"Deep\"=\"yes\"\n");
    platform::RegistryKey key;
    EXPECT_EQ(platform::RegOpenKey(prefix, "SOFTWARE\\Red Storm Entertainment",
                                   platform::KeyAccess::QueryValue, key),
              platform::RegStatus::Success)
        << "a key written only as the parent of another exists";
    EXPECT_EQ(
        platform::RegOpenKey(prefix, "SOFTWARE\\Red Storm", platform::KeyAccess::QueryValue, key),
        platform::RegStatus::NotFound)
        << "a name prefix is no parent";
    ASSERT_EQ(
        platform::RegOpenKey(prefix, "Software\\Linked\\Sub", platform::KeyAccess::QueryValue, key),
        platform::RegStatus::Success);
    char buffer[16];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(platform::RegQueryValue(key, "Deep", buffer, size), platform::RegStatus::Success);
    EXPECT_EQ(std::string(buffer, size), "yes\0"s);
}

TEST_F(RegistryRead, MissingOrForeignFileBehavesAsNoKey) {
    platform::RegistryKey key;
    EXPECT_EQ(platform::RegOpenKey(platform::LoadPrefix(folder_.path() / "none"), "Software",
                                   platform::KeyAccess::QueryValue, key),
              platform::RegStatus::NotFound);
    const auto prefix = Prefix("REGEDIT4\n\n[Software\\\\Wow6432Node\\\\A] 1\n\"X\"=\"1\"\n");
    EXPECT_EQ(platform::RegOpenKey(prefix, "Software\\A", platform::KeyAccess::QueryValue, key),
              platform::RegStatus::NotFound);
}

}  // namespace
