// The registry reader and writer on a real system.reg written by Wine 8
// (a fresh 64-bit prefix with the game's values added by a 32-bit installer).

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/registry.h"
#include "platform/registry_file.h"
#include "support/fake_installation.h"

namespace {

using namespace std::string_literals;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

std::string Gunzip(const std::string& file) {
    std::string content;
    FILE* pipe = popen(("gzip -dc '" + file + "'").c_str(), "r");
    if (pipe == nullptr) {
        return content;
    }
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        content.append(buffer, count);
    }
    pclose(pipe);
    return content;
}

class RegistryFixture : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        original_ = new std::string(Gunzip(LW_FIXTURE_DIR "/wine8-win64-system.reg.gz"));
    }
    static void TearDownTestSuite() { delete original_; }

    void SetUp() override {
        ASSERT_GT(original_->size(), 1000000u) << "the fixture unpacks";
        std::ofstream(SystemReg(), std::ios::binary) << *original_;
        prefix_ = platform::LoadPrefix(folder_.path());
    }
    std::filesystem::path SystemReg() const { return folder_.path() / "system.reg"; }
    std::string Query(const std::string& key, const std::string& name) const {
        platform::RegistryKey handle;
        if (platform::RegOpenKey(prefix_, key, platform::KeyAccess::QueryValue, handle) !=
            platform::RegStatus::Success) {
            return "<no key>";
        }
        char buffer[1024];
        std::uint32_t size = sizeof buffer;
        if (platform::RegQueryValue(handle, name, buffer, size) != platform::RegStatus::Success) {
            return "<no value>";
        }
        return std::string(buffer, size);
    }

    static std::string* original_;
    testsupport::TemporaryFolder folder_;
    platform::WinePrefix prefix_;
};

std::string* RegistryFixture::original_ = nullptr;

TEST_F(RegistryFixture, ReadsTheGamesValuesThroughTheThirtyTwoBitView) {
    ASSERT_TRUE(prefix_.win64);
    const std::pair<const char*, const char*> values[] = {
        {"ActionMusicPath", "C:\\GOG Games\\Rainbow Six\\data\\sound\\music"},
        {"ActorPath", "C:\\GOG Games\\Rainbow Six\\data\\actor"},
        {"BitmapPath", "C:\\GOG Games\\Rainbow Six\\data\\bitmap"},
        {"EquipmentPath", "C:\\GOG Games\\Rainbow Six\\data\\kit"},
        {"EquipTextPath", "C:\\GOG Games\\Rainbow Six\\data\\text\\kit"},
        {"InstallationPath", "C:\\GOG Games\\Rainbow Six\\"},
        {"MissionPath", "C:\\GOG Games\\Rainbow Six\\data\\mission"},
        {"MouseRadiansPerPixel", "0.008727"},
        {"ShellTextPath", "C:\\GOG Games\\Rainbow Six\\data\\text\\interface"},
        {"SoundPath", "C:\\GOG Games\\Rainbow Six\\data\\sound"},
        {"TextPath", "C:\\GOG Games\\Rainbow Six\\data\\text"},
        {"TexturePath", "C:\\GOG Games\\Rainbow Six\\data\\texture"},
    };
    for (const auto& [name, text] : values) {
        EXPECT_EQ(Query(kGameKey, name), text + "\0"s) << name;
    }
    EXPECT_EQ(Query(kGameKey, "VARNDEV"), "<no value>");
    EXPECT_EQ(Query("SOFTWARE\\TORV\\VARN MOD 2.0", "InstallPath"), "%ProgramFiles%\\VARN\0"s);
    EXPECT_EQ(
        Query("SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six: Eagle Watch\\", ""),
        "<no key>");
}

TEST_F(RegistryFixture, ReadsWinesOwnValuesOfEveryKind) {
    const platform::registry_file::RegistryText file(*original_);
    ASSERT_TRUE(file.HasValidHeader());
    std::size_t values = 0;
    std::size_t valueLines = 0;
    for (const auto& key : file.keys()) {
        values += file.ReadValues(key).size();
        for (std::size_t line = key.headerLine + 1; line < key.endLine; ++line) {
            const std::string_view text = file.LineText(line);
            valueLines += !text.empty() && (text[0] == '"' || text[0] == '@');
        }
    }
    EXPECT_EQ(values, valueLines) << "every value line of the real file parses";

    // A hex(7) multi string that lacks its final zero (converted as it stands).
    EXPECT_EQ(Query("System\\CurrentControlSet\\Enum\\ROOT\\WINE\\WINEBUS", "HardwareId"),
              "root\\winebus\0\0C:\\windows\\inf"s);
    // The 32-bit view's time zones are a link to the shared 64-bit key.
    EXPECT_EQ(Query("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\UTC", "Dlt"),
              "Coordinated Universal Time\0"s);
}

TEST_F(RegistryFixture, WriterChangesOnlyTheOneLine) {
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.025000"),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "VARNDEV", ""), platform::RegStatus::Success);

    std::ifstream stream(SystemReg(), std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    std::string expected = *original_;
    const std::string oldLine = "\"MouseRadiansPerPixel\"=\"0.008727\"\n";
    expected.replace(expected.find(oldLine), oldLine.size(),
                     "\"MouseRadiansPerPixel\"=\"0.025000\"\n");
    const std::string lastGameLine =
        "\"TexturePath\"=\"C:\\\\GOG Games\\\\Rainbow Six\\\\data\\\\texture\"\n";
    expected.insert(expected.find(lastGameLine) + lastGameLine.size(), "\"VARNDEV\"=\"\"\n");
    EXPECT_TRUE(content.str() == expected) << "every other byte of the file is kept";
    EXPECT_EQ(Query(kGameKey, "VARNDEV"), "\0"s);
}

}  // namespace
