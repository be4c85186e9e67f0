// The registry reader and writer on a real system.reg written by Wine 8 (a
// fresh 64-bit prefix with the game's values added by a 32-bit installer).

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/registry.h"
#include "platform/registry_file.h"
#include "support/fake_installation.h"

namespace {

using namespace std::string_literals;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

class RegistryFixture : public testing::Test {
  protected:
    void SetUp() override {
        FILE* pipe = ::popen("gzip -dc '" LW_FIXTURE_DIR "/wine8-win64-system.reg.gz'", "r");
        char buffer[65536];
        for (std::size_t n;
             pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            original_.append(buffer, n);
        }
        ASSERT_TRUE(pipe != nullptr && ::pclose(pipe) == 0 && original_.size() > 1000000u);
        std::ofstream(folder_.path() / "system.reg", std::ios::binary) << original_;
        prefix_ = platform::LoadPrefix(folder_.path());
    }
    std::string Query(const std::string& key, const std::string& name) const {
        platform::RegistryKey handle;
        char buffer[1024];
        std::uint32_t size = sizeof buffer;
        if (platform::RegOpenKey(prefix_, key, platform::KeyAccess::QueryValue, handle) !=
                platform::RegStatus::Success ||
            platform::RegQueryValue(handle, name, buffer, size) != platform::RegStatus::Success) {
            return "<none>";
        }
        return std::string(buffer, size);
    }

    std::string original_;
    testsupport::TemporaryFolder folder_;
    platform::WinePrefix prefix_;
};

TEST_F(RegistryFixture, ReadsTheGamesAndWinesOwnValues) {
    ASSERT_TRUE(prefix_.win64);
    const std::pair<std::string, std::string> cases[] = {
        {Query(kGameKey, "EquipmentPath"), "C:\\GOG Games\\Rainbow Six\\data\\kit\0"s},
        {Query(kGameKey, "InstallationPath"), "C:\\GOG Games\\Rainbow Six\\\0"s},
        {Query(kGameKey, "MouseRadiansPerPixel"), "0.008727\0"s},
        {Query(kGameKey, "VARNDEV"), "<none>"},
        {Query("SOFTWARE\\TORV\\VARN MOD 2.0", "InstallPath"), "%ProgramFiles%\\VARN\0"s},
        {Query(kGameKey.substr(0, kGameKey.size() - 1) + ": Eagle Watch\\", ""), "<none>"},
        // a hex(7) multi string without its final zero, converted as it stands
        {Query("System\\CurrentControlSet\\Enum\\ROOT\\WINE\\WINEBUS", "HardwareId"),
         "root\\winebus\0\0C:\\windows\\inf"s},
        // the 32-bit view's time zones are a link to the shared key
        {Query("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\UTC", "Dlt"),
         "Coordinated Universal Time\0"s},
    };
    for (const auto& [got, expected] : cases) {
        EXPECT_EQ(got, expected);
    }
    const platform::registry_file::RegistryText file(original_);
    std::size_t values = 0, valueLines = 0;
    for (const auto& key : file.keys()) {
        values += file.ReadValues(key).size();
        for (std::size_t line = key.headerLine + 1; line < key.endLine; ++line) {
            valueLines +=
                file.LineText(line).starts_with('"') || file.LineText(line).starts_with('@');
        }
    }
    EXPECT_EQ(values, valueLines) << "every value line of the real file parses";
}

TEST_F(RegistryFixture, WriterChangesOnlyTheOneLine) {
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.025000"),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "VARNDEV", ""), platform::RegStatus::Success);
    std::string expected = original_;
    expected.replace(expected.find("\"0.008727\"\n"), 10, "\"0.025000\"");
    const std::string last =
        "\"TexturePath\"=\"C:\\\\GOG Games\\\\Rainbow Six\\\\data\\\\texture\"\n";
    expected.insert(expected.find(last) + last.size(), "\"VARNDEV\"=\"\"\n");
    std::ifstream in(folder_.path() / "system.reg", std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) ==
                expected)
        << "every other byte of the file is kept";
}

}  // namespace
