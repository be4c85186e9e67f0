// The registry: every value format and escape as wineserver writes them, read as a Windows
// "A" program sees them; one value written with every other byte kept, also in Wine 8's own
// file; while a wineserver runs, `$WINE reg`.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/codepage.h"
#include "platform/registry.h"
#include "platform/registry/registry_text_p.h"
#include "platform/registry/registry_writer_p.h"
#include "support/fake_installation.h"
#include "support/fake_wine.h"

namespace {

using namespace std::string_literals;
using testsupport::QueryValue;
namespace fs = std::filesystem;
using platform::RegStatus;
using platform::registry_detail::RegistryText;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

const std::string kHeader = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";

TEST(RegistryFile, ReadsEveryValueFormatAsAnAProgramSeesIt) {
    // The value line(s) in the file, the value's type and its bytes.
    const std::tuple<std::string, std::uint32_t, std::string> cases[] = {
        {"\"V\"=\"0.008727\"", 1, "0.008727\0"s},
        {"\"V\"=\"\"", 1, "\0"s},
        {R"("V"="C:\\Games\\\"R6\"\\")", 1, "C:\\Games\\\"R6\"\\\0"s},
        {R"("V"="a\nb\rc\td\ae\bf\fg\vh\ei")", 1, "a\nb\rc\td\ae\bf\fg\vh\x1bi\0"s},
        {R"("V"="\0\1\0123\177")", 1, "\0\1\n3\x7f\0"s},
        {R"("V"="caf\xe9!")", 1, "caf\xe9!\0"s},
        {R"("V"="\x00e9a\x20ac")", 1, "\xe9\x61\x80\0"s},  // four digits before a hex digit
        {R"("V"="\x4e2d")", 1, "?\0"s},                    // not in Windows-1252
        {"\"V\"=\"caf\xc3\xa9\"", 1, "caf\xe9\0"s},        // raw UTF-8
        {R"("V"=str(2):"%ProgramFiles%\\VARN")", 2, "%ProgramFiles%\\VARN\0"s},
        {R"("V"=str(7):"a\0bc\0")", 7, "a\0bc\0\0"s},
        {"\"V\"=dword:0000012c", 4, "\x2c\x01\0\0"s},
        {"\"V\"=hex:01,02,\\\n  03,04,\\\n  05", 3, "\x01\x02\x03\x04\x05"s},
        {"\"V\"=hex(4):30,00,2e,00,35,00,00,00", 4, "0.5\0"s},
        {"\"V\"=hex(7):61,00,00,00,62,00,00,00,00,00", 7, "a\0b\0\0"s},
        {R"("Na\"me\\"="x")", 1, "x\0"s},
    };
    for (const auto& [line, type, ansi] : cases) {
        const RegistryText file(kHeader + "[Software\\\\Test] 1\n#time=1d\n" + line +
                                "\n\"After\"=\"next\"\n");
        const auto values = file.ReadValues(file.keys().at(0));
        ASSERT_EQ(values.size(), 2u) << line;
        EXPECT_EQ(values[0].type, type) << line;
        EXPECT_EQ(platform::registry_detail::AnsiData(values[0].type, values[0].data), ansi)
            << line;
        EXPECT_EQ(values[1].name, u"After") << "the next value is found again: " << line;
    }
}

TEST(RegistryFile, ReadsAndWritesARealWineFileChangingOnlyTheOneLine) {
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "system.reg";
    const std::string unpack =
        "gzip -dc '" LW_FIXTURE_DIR "/wine8-win64-system.reg.gz' > '" + file.string() + "'";
    ASSERT_EQ(std::system(unpack.c_str()), 0);
    // Two keys more, their names escaped (a \x escape, a trailing backslash,
    // a bracket) and in small letters.
    std::ofstream(file, std::ios::binary | std::ios::app)
        << "\n[Software\\\\Wow6432Node\\\\caf\\xe9\\\\jeux\\\\] 1\n\"V\"=\"x\"\n"
        << "\n[Software\\\\Wow6432Node\\\\a\\]b] 1\n\"V\"=\"y\"\n";
    const std::string original = testsupport::FileBytes(file);
    // A file changed long ago, as a prefix's is: its parse is kept for later reads.
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const auto prefix = platform::LoadPrefix(folder.path());
    ASSERT_TRUE(prefix.win64);
    // Read ahead as a start does: the reads below wait for it or find it done.
    std::thread readAhead([&folder] { platform::ReadRegistryAhead(folder.path()); });
    const std::pair<std::string, std::string> cases[] = {
        {QueryValue(prefix, kGameKey, "EquipmentPath"), "C:\\GOG Games\\Rainbow Six\\data\\kit\0"s},
        {QueryValue(prefix, kGameKey, "InstallationPath", 26), "C:\\GOG Games\\Rainbow Six\\\0"s},
        {QueryValue(prefix, kGameKey, "InstallationPath", 25), "<more data: 26>"},
        {QueryValue(prefix, "software\\red storm entertainment\\", ""), "<no value>"},  // a parent
        {QueryValue(prefix, "SOFTWARE\\Red Storm Entertain", ""), "<no key>"},  // a name's start
        {QueryValue(platform::LoadPrefix(folder.path() / "none"), "Software", ""), "<no key>"},
        {QueryValue(prefix, kGameKey, "mouseradiansperpixel"), "0.008727\0"s},  // any case
        {QueryValue(prefix, kGameKey, "VARNDEV"), "<no value>"},
        {QueryValue(prefix, "SOFTWARE\\TORV\\VARN MOD 2.0", "InstallPath"),
         "%ProgramFiles%\\VARN\0"s},
        {QueryValue(prefix, "SOFTWARE\\CAF\xc9\\JEUX\\", "v"), "x\0"s},
        {QueryValue(prefix, "Software\\Caf\xe9", "V"), "<no value>"},  // a key of subkeys only
        {QueryValue(prefix, "SOFTWARE\\A]B", "V"), "y\0"s},
        {QueryValue(prefix, "SOFTWARE\\Microsoft\\Cryptography\\Calais", "V"), "<no value>"},
        // a hex(7) multi string without its final zero, converted as it stands
        {QueryValue(prefix, "System\\CurrentControlSet\\Enum\\ROOT\\WINE\\WINEBUS", "HardwareId"),
         "root\\winebus\0\0C:\\windows\\inf"s},
        // the 32-bit view's time zones are a link to the shared key
        {QueryValue(prefix, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\UTC",
                    "Dlt"),
         "Coordinated Universal Time\0"s},
    };
    readAhead.join();
    for (const auto& [got, expected] : cases) {
        EXPECT_EQ(got, expected);
    }

    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix, kGameKey, platform::KeyAccess::SetValue, key),
              RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.025000"),
              RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "VARNDEV", ""), RegStatus::Success);
    std::string expected = original;
    expected.replace(expected.find("\"0.008727\"\n"), 10, "\"0.025000\"");
    const std::string last =
        "\"TexturePath\"=\"C:\\\\GOG Games\\\\Rainbow Six\\\\data\\\\texture\"\n";
    expected.insert(expected.find(last) + last.size(), "\"VARNDEV\"=\"\"\n");
    EXPECT_TRUE(testsupport::FileBytes(file) == expected) << "every other byte is kept";
    // Each read sees the file as it is now: after our write, and after another program's.
    EXPECT_EQ(QueryValue(prefix, kGameKey, "MouseRadiansPerPixel"), "0.025000\0"s);
    expected.replace(expected.find("\"0.025000\""), 10, "\"0.5\"");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << expected;
    EXPECT_EQ(QueryValue(prefix, kGameKey, "MouseRadiansPerPixel"), "0.5\0"s);
}

TEST(RegistryWriter, ChangesOneValueAndKeepsEveryOtherByte) {
    const std::string head = "WINE REGISTRY Version 2\r\n\r\n[Software\\\\A] 17\r\n#time=1d\r\n";
    const std::string tail = "\r\n[Software\\\\B] 18\r\n\"Mouse\"=\"other key\"\r\n";
    const std::string before =
        head + "\"Bin\"=hex:01,\\\r\n  03\r\n\"mouse\"=\"0.008727\"\r\n" + tail;
    const std::string binary = "WINE REGISTRY Version 2\n[A] 1\n\"B\"=hex:01,\\";
    const std::u16string escaped = platform::Cp1252ToUtf16(
        "C:\\Jeux \xe9"
        "a\xe9\\\x80"
        "1\t\"x\"\x01"
        "7");
    // The file, the key, name and text to set, and the file then.
    const std::tuple<std::string, std::u16string, std::u16string, std::u16string, std::string>
        cases[] = {
            // in place, the name's spelling and CR LF kept
            {before, u"software\\a\\", u"MOUSE", u"0.012345",
             head + "\"Bin\"=hex:01,\\\r\n  03\r\n\"mouse\"=\"0.012345\"\r\n" + tail},
            // a value on continuation lines becomes one line
            {before, u"Software\\A", u"bin", u"text",
             head + "\"Bin\"=\"text\"\r\n\"mouse\"=\"0.008727\"\r\n" + tail},
            // a new value at the end of its key's block, the default value as @
            {before, u"Software\\A", u"N \"q\"", u"v",
             head +
                 "\"Bin\"=hex:01,\\\r\n  03\r\n\"mouse\"=\"0.008727\"\r\n\"N "
                 "\\\"q\\\"\"=\"v\"\r\n" +
                 tail},
            {before, u"Software\\B", u"", u"d", before + "@=\"d\"\r\n"},
            // escaped as wineserver escapes: four hex digits before a hex digit
            {"WINE REGISTRY Version 2\n[A] 1\n", u"A", u"V", escaped,
             "WINE REGISTRY Version 2\n[A] 1\n\"V\"=\"C:\\\\Jeux "
             "\\x00e9a\\xe9\\\\\\x20ac1\\t\\\"x\\\"\\0017\"\n"},
            // a binary value continued onto a blank line, the end or the next key keeps its data
            {binary + "\n\n", u"A", u"N", u"v", binary + "\n\n\"N\"=\"v\"\n"},
            {binary, u"A", u"N", u"v", binary + "\n\n\"N\"=\"v\"\n"},
            {binary + "\n[C] 2\n", u"A", u"N", u"v", binary + "\n\n\"N\"=\"v\"\n[C] 2\n"},
            // a lone CR ends no line: the new value does not run on in the key's line
            {"WINE REGISTRY Version 2\n[A] 1\r", u"A", u"N", u"v",
             "WINE REGISTRY Version 2\n[A] 1\r\n\"N\"=\"v\"\n"},
        };
    for (const auto& [file, key, name, text, then] : cases) {
        EXPECT_EQ(platform::registry_detail::WithStringValue(RegistryText(file), key, name, text),
                  then);
    }
}

// Without a server the file is rewritten, or left alone with the reason;
// while one runs, the key is read and written through `$WINE reg`.
TEST(RegistryWrite, EachWriteTakesTheServersWayOrTheFilesAndRefusalsSayWhy) {
    testsupport::FakeInstallation installation;
    const fs::path file = installation.systemReg();
    const std::string before = testsupport::FileBytes(file);
    platform::RegistryKey key;
    const auto open = [&](platform::KeyAccess access) {
        return platform::RegOpenKey(installation.prefix(), kGameKey, access, key);
    };
    const auto set = [&](const std::string& text) {
        return platform::RegSetStringValue(key, "MouseRadiansPerPixel", text);
    };
    ASSERT_EQ(open(platform::KeyAccess::SetValue), RegStatus::Success);
    fs::permissions(file, fs::perms(0444));
    const platform::RegResult denied = set("1");
    EXPECT_EQ(denied, RegStatus::AccessDenied);
    EXPECT_EQ(denied.error().code, EACCES) << denied.error().Describe();
    EXPECT_EQ(testsupport::FileBytes(file), before);
    fs::permissions(file, fs::perms(0644));
    const std::pair<std::string, RegStatus> changed[] = {
        {"WINE REGISTRY Version 2\n\n[Other] 1\n", RegStatus::NotFound},  // key gone since open
        {"garbage\n", RegStatus::Failed},  // not a registry: never rewritten
    };
    for (const auto& [content, status] : changed) {  // the file changed under the key
        std::ofstream(file, std::ios::binary) << content;
        EXPECT_EQ(set("1"), status);
        EXPECT_EQ(testsupport::FileBytes(file), content);
    }
    std::ofstream(file, std::ios::binary) << before;

    testsupport::FakeRunningServer server(installation);
    const std::string vendorKey = "HKLM\\SOFTWARE\\Red Storm Entertainment";
    const std::string regKey = "HKLM\\" + kGameKey.substr(0, kGameKey.size() - 1);
    const std::string eagleWatchKey =
        "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six: Eagle Watch";
    {
        testsupport::FakeWine wine(
            testsupport::RegExportBody("\"MouseRadiansPerPixel\"=\"0.012345\""));
        EXPECT_EQ(QueryValue(installation.prefix(), kGameKey, "MouseRadiansPerPixel"),
                  "0.012345\0"s)
            << "what the server holds, not the file's 0.008727";
        // The vendor's key came whole: its other product and a second open need no reg.
        EXPECT_EQ(QueryValue(installation.prefix(), eagleWatchKey, ""), "<no key>");
        ASSERT_EQ(open(platform::KeyAccess::SetValue), RegStatus::Success);
        const platform::RegResult written = set("0.0123 \xe9");
        ASSERT_EQ(written, RegStatus::Success) << written.error().Describe();
        QueryValue(installation.prefix(), kGameKey, "MouseRadiansPerPixel");  // read again
        const auto calls = wine.Calls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0].arguments.at(1) + " " + calls[0].arguments.at(2), "export " + vendorKey);
        EXPECT_EQ(calls[1].prefix, installation.prefix().folder.string());
        EXPECT_EQ(calls[1].arguments, (std::vector<std::string>{
                                          "reg", "add", regKey, "/v", "MouseRadiansPerPixel", "/t",
                                          "REG_SZ", "/d", "0.0123 \xc3\xa9", "/f", "/reg:32"}));
        EXPECT_EQ(calls[2].arguments.at(1), "export") << "a write makes the next read ask again";
    }
    {
        testsupport::FakeWine failing("exit 1");
        EXPECT_EQ(set("1"), RegStatus::Failed);
    }
    // reg ends with 1 for a missing key and for other failures alike: its words tell.
    const std::pair<std::string, RegStatus> exports[] = {
        {"reg: Unable to find the specified registry key", RegStatus::NotFound},
        {"reg: Invalid system key", RegStatus::Failed},
    };
    for (const auto& [says, status] : exports) {
        testsupport::FakeWine wine("echo '" + says + "' >&2; exit 1");
        platform::RegistryKey other;
        const platform::RegResult read = platform::RegOpenKey(
            installation.prefix(), eagleWatchKey, platform::KeyAccess::QueryValue, other);
        EXPECT_EQ(read, status) << says;
        EXPECT_EQ(read.error().Describe().find("Invalid system key") != std::string::npos,
                  status == RegStatus::Failed)
            << read.error().Describe();
    }
    testsupport::ScopedEnvironment missing("WINE", "/no/such/wine");
    const platform::RegResult noWine = set("1");
    EXPECT_EQ(noWine, RegStatus::Failed);
    EXPECT_NE(noWine.error().Describe().find("was not found"), std::string::npos)
        << noWine.error().Describe();
    EXPECT_EQ(testsupport::FileBytes(file), before) << "the server's file is left alone";

    server.End();  // the server ends: the way is chosen at each write, not at open
    ASSERT_EQ(set("0.000249"), RegStatus::Success);
    const std::string saved = testsupport::FileBytes(file);
    EXPECT_NE(saved.find("=\"0.000249\""), std::string::npos);
    {
        // A server in a launcher's Flatpak sandbox: no Wine here reaches it, and
        // it would save its registry over the file. Reads take the file.
        testsupport::FakeRunningServer sandboxed(
            installation, testsupport::FakeRunningServer::Place::FlatpakSandbox);
        testsupport::FakeWine wine("exit 1");
        EXPECT_EQ(QueryValue(installation.prefix(), kGameKey, "MouseRadiansPerPixel"),
                  "0.000249\0"s);
        const platform::RegResult refused = set("1");
        EXPECT_EQ(refused, RegStatus::Failed);
        EXPECT_NE(refused.error().Describe().find("Flatpak sandbox"), std::string::npos);
        EXPECT_EQ(testsupport::FileBytes(file), saved);
        EXPECT_TRUE(wine.Calls().empty());
    }

    // Keys read together: the first read exports every vendor side by side,
    // and the other keys, there or not, need no reg of their own.
    testsupport::FakeRunningServer again(installation);
    const std::string absent = "SOFTWARE\\Nobody\\Product";
    platform::ReadKeysTogether({kGameKey, testsupport::ModKeyName(), absent});
    testsupport::FakeWine slow(
        "sleep 0.2\n[ \"$3\" = 'HKLM\\SOFTWARE\\Nobody' ] && "
        "{ echo 'reg: Unable to find the specified registry key' >&2; exit 1; }\n" +
        testsupport::RegExportBody("\"V\"=\"served\""));
    for (const std::string& key : {kGameKey, testsupport::ModKeyName()}) {
        EXPECT_EQ(QueryValue(installation.prefix(), key, "V"), "served\0"s) << key;
    }
    EXPECT_EQ(QueryValue(installation.prefix(), absent, "V"), "<no key>");
    platform::ReadKeysTogether({});
    const auto calls = slow.Calls();
    ASSERT_EQ(calls.size(), 3u);
    std::vector<std::string> exported;
    for (const auto& call : calls) {
        exported.push_back(call.arguments.at(2));
        EXPECT_GE(call.endLine, 3u) << "all ran before any ended";
    }
    std::ranges::sort(exported);  // they start side by side, in any order
    EXPECT_EQ(exported, (std::vector<std::string>{"HKLM\\SOFTWARE\\Nobody", vendorKey,
                                                  "HKLM\\SOFTWARE\\TORV"}));
}

}  // namespace
