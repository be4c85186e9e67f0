// The registry reader: every value format and escape as wineserver writes
// them, read back as a Windows "A" program sees the data; and reader and
// writer on a real system.reg written by Wine 8 (a fresh 64-bit prefix with
// the game's values added by a 32-bit installer): its views, links and sizes.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/registry.h"
#include "platform/registry_file.h"
#include "support/fake_installation.h"

namespace {

using namespace std::string_literals;
using platform::registry_file::RegistryText;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

const std::string kHeader = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";

// A value as an "A" program reads it, or what went wrong.
std::string Query(const platform::WinePrefix& prefix, const std::string& key,
                  const std::string& name, std::uint32_t size = 260) {
    platform::RegistryKey handle;
    std::string buffer(size, '\0');
    if (platform::RegOpenKey(prefix, key, platform::KeyAccess::QueryValue, handle) !=
        platform::RegStatus::Success) {
        return "<no key>";
    }
    switch (platform::RegQueryValue(handle, name, buffer.data(), size).status()) {
        case platform::RegStatus::Success:
            return buffer.substr(0, size);
        case platform::RegStatus::MoreData:
            return "<more data: " + std::to_string(size) + ">";
        default:
            return "<no value>";
    }
}

TEST(RegistryFile, ReadsEveryValueFormatAsAnAProgramSeesIt) {
    struct Case {
        std::string line;  // the value line(s) in the file
        std::uint32_t type;
        std::string ansi;
    };
    const Case cases[] = {
        {"\"V\"=\"0.008727\"", 1, "0.008727\0"s},
        {"\"V\"=\"\"", 1, "\0"s},
        {R"("V"="C:\\Games\\\"R6\"\\")", 1, "C:\\Games\\\"R6\"\\\0"s},
        {R"("V"="a\nb\rc\td\ae\bf\fg\vh\ei")", 1, "a\nb\rc\td\ae\bf\fg\vh\x1bi\0"s},
        {R"("V"="\0\1\0123\177")", 1, "\0\1\n3\x7f\0"s},
        {R"("V"="caf\xe9!")", 1, "caf\xe9!\0"s},
        {R"("V"="\x00e9a\x20ac")", 1,
         "\xe9"
         "a\x80\0"s},                                // four digits before a hex digit
        {R"("V"="\x4e2d")", 1, "?\0"s},              // not in Windows-1252
        {"\"V\"=\"caf\xc3\xa9\"", 1, "caf\xe9\0"s},  // raw UTF-8
        {R"("V"=str(2):"%ProgramFiles%\\VARN")", 2, "%ProgramFiles%\\VARN\0"s},
        {R"("V"=str(7):"a\0bc\0")", 7, "a\0bc\0\0"s},
        {"\"V\"=dword:0000012c", 4, "\x2c\x01\0\0"s},
        {"\"V\"=hex:01,02,\\\n  03,04,\\\n  05", 3, "\x01\x02\x03\x04\x05"s},
        {"\"V\"=hex(4):30,00,2e,00,35,00,00,00", 4, "0.5\0"s},
        {"\"V\"=hex(7):61,00,00,00,62,00,00,00,00,00", 7, "a\0b\0\0"s},
        {"\"V\"=hex(1):41,00,00,00", 1, "A\0"s},
        {R"("Na\"me\\"="x")", 1, "x\0"s},
        {"\"V\" = \"x\"", 1, "x\0"s},
    };
    for (const Case& c : cases) {
        const RegistryText file(kHeader + "[Software\\\\Test] 1\n#time=1d\n" + c.line +
                                "\n\"After\"=\"next\"\n");
        const auto values = file.ReadValues(file.keys().at(0));
        ASSERT_EQ(values.size(), 2u) << c.line;
        EXPECT_EQ(values[0].type, c.type) << c.line;
        EXPECT_EQ(platform::registry_file::AnsiData(values[0].type, values[0].data), c.ansi)
            << c.line;
        EXPECT_EQ(values[1].name, u"After") << "the next value is found again: " << c.line;
    }
}

TEST(RegistryFile, ReadsAndWritesARealWineFileChangingOnlyTheOneLine) {
    std::string original;
    FILE* pipe = ::popen("gzip -dc '" LW_FIXTURE_DIR "/wine8-win64-system.reg.gz'", "r");
    char buffer[65536];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        original.append(buffer, n);
    }
    ASSERT_TRUE(pipe != nullptr && ::pclose(pipe) == 0 && original.size() > 1000000u);
    testsupport::TemporaryFolder folder;
    std::ofstream(folder.path() / "system.reg", std::ios::binary) << original;
    const auto prefix = platform::LoadPrefix(folder.path());
    ASSERT_TRUE(prefix.win64);
    const std::pair<std::string, std::string> cases[] = {
        {Query(prefix, kGameKey, "EquipmentPath"), "C:\\GOG Games\\Rainbow Six\\data\\kit\0"s},
        {Query(prefix, kGameKey, "InstallationPath", 26), "C:\\GOG Games\\Rainbow Six\\\0"s},
        {Query(prefix, kGameKey, "InstallationPath", 25), "<more data: 26>"},
        {Query(prefix, "software\\red storm entertainment\\", ""), "<no value>"},  // a parent
        {Query(prefix, "SOFTWARE\\Red Storm Entertain", ""), "<no key>"},          // a name's start
        {Query(platform::LoadPrefix(folder.path() / "none"), "Software", ""), "<no key>"},
        {Query(prefix, kGameKey, "mouseradiansperpixel"), "0.008727\0"s},  // any case
        {Query(prefix, kGameKey, "VARNDEV"), "<no value>"},
        {Query(prefix, "SOFTWARE\\TORV\\VARN MOD 2.0", "InstallPath"), "%ProgramFiles%\\VARN\0"s},
        // a hex(7) multi string without its final zero, converted as it stands
        {Query(prefix, "System\\CurrentControlSet\\Enum\\ROOT\\WINE\\WINEBUS", "HardwareId"),
         "root\\winebus\0\0C:\\windows\\inf"s},
        // the 32-bit view's time zones are a link to the shared key
        {Query(prefix, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\UTC", "Dlt"),
         "Coordinated Universal Time\0"s},
    };
    for (const auto& [got, expected] : cases) {
        EXPECT_EQ(got, expected);
    }
    const RegistryText file(original);
    std::size_t values = 0, valueLines = 0;
    for (const auto& key : file.keys()) {
        values += file.ReadValues(key).size();
        for (std::size_t line = key.headerLine + 1; line < key.endLine; ++line) {
            valueLines +=
                file.LineText(line).starts_with('"') || file.LineText(line).starts_with('@');
        }
    }
    EXPECT_EQ(values, valueLines) << "every value line of the real file parses";

    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.025000"),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "VARNDEV", ""), platform::RegStatus::Success);
    std::string expected = original;
    expected.replace(expected.find("\"0.008727\"\n"), 10, "\"0.025000\"");
    const std::string last =
        "\"TexturePath\"=\"C:\\\\GOG Games\\\\Rainbow Six\\\\data\\\\texture\"\n";
    expected.insert(expected.find(last) + last.size(), "\"VARNDEV\"=\"\"\n");
    std::ifstream in(folder.path() / "system.reg", std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) ==
                expected)
        << "every other byte of the file is kept";
}

}  // namespace
