// The registry against real Wine: values written by `wine reg add /reg:32`
// read back through our reader, and our writer's value read back by
// `wine reg query`, with and without a running wineserver.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "platform/registry.h"
#include "platform/wineserver.h"
#include "wine_test_prefix.h"

namespace {

using namespace std::string_literals;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";
const std::string kGameKeyForReg =
    "HKLM\\SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six";

// The game's values as a 32-bit installer writes them (UTF-8 for reg) and as
// a Windows "A" program reads them back (Windows-1252, with the zero).
struct GameValue {
    std::string name;
    std::string utf8;
    std::string ansi;
};

const std::vector<GameValue> kGameValues = {
    {"ActorPath", "C:\\GOG Games\\Rainbow Six\\data\\actor", ""},
    {"EquipmentPath", "C:\\GOG Games\\Rainbow Six\\data\\kit", ""},
    {"EquipTextPath", "C:\\Jeux \xc3\xa9t\xc3\xa9\\data\\text\\kit",
     "C:\\Jeux \xe9t\xe9\\data\\text\\kit"},
    {"InstallationPath", "C:\\GOG Games\\Rainbow Six\\", ""},
    {"MouseRadiansPerPixel", "0.008727", ""},
    {"VARNDEV", "", ""},
};

std::string Ansi(const GameValue& value) {
    return (value.ansi.empty() ? value.utf8 : value.ansi) + '\0';
}

std::string Query(const platform::WinePrefix& prefix, const std::string& key,
                  const std::string& name) {
    platform::RegistryKey handle;
    if (platform::RegOpenKey(prefix, key, platform::KeyAccess::QueryValue, handle) !=
        platform::RegStatus::Success) {
        return "<no key>";
    }
    char buffer[260];
    std::uint32_t size = sizeof buffer;
    if (platform::RegQueryValue(handle, name, buffer, size) != platform::RegStatus::Success) {
        return "<no value>";
    }
    return std::string(buffer, size);
}

class WineRegistry : public testing::Test {
  protected:
    void SetUp() override {
        if (!wine_.available()) {
            GTEST_SKIP() << wine_.whyUnavailable();
        }
        for (const auto& value : kGameValues) {
            ASSERT_EQ(Reg({"add", kGameKeyForReg, "/v", value.name, "/t", "REG_SZ", "/d",
                           value.utf8, "/f", "/reg:32"})
                          .exitCode,
                      0)
                << value.name;
        }
        ASSERT_EQ(Reg({"add", "HKLM\\SOFTWARE\\TORV\\VARN MOD 2.0", "/v", "InstallPath", "/t",
                       "REG_EXPAND_SZ", "/d", "%ProgramFiles%\\VARN", "/f", "/reg:32"})
                      .exitCode,
                  0);
        ASSERT_EQ(Reg({"add", kGameKeyForReg, "/v", "Count", "/t", "REG_DWORD", "/d", "300", "/f",
                       "/reg:32"})
                      .exitCode,
                  0);
        wine_.WaitForServerExit();  // the server saves system.reg as it ends
    }

    winetest::RunResult Reg(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"wine", "reg"});
        return wine_.Run(arguments);
    }
    std::string RegQuery(const std::string& name) const {
        return Reg({"query", kGameKeyForReg, "/v", name, "/reg:32"}).output;
    }
    std::string SystemReg() const {
        std::ifstream file(wine_.folder() / "system.reg", std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        return content.str();
    }
    // Every game value except the one named, as our reader sees it.
    std::map<std::string, std::string> OtherValues(const std::string& except) const {
        std::map<std::string, std::string> values;
        for (const auto& value : kGameValues) {
            if (value.name != except) {
                values[value.name] = Query(wine_.prefix(), kGameKey, value.name);
            }
        }
        values["Count"] = Query(wine_.prefix(), kGameKey, "Count");
        values["InstallPath"] =
            Query(wine_.prefix(), "SOFTWARE\\TORV\\VARN MOD 2.0", "InstallPath");
        return values;
    }

    winetest::WineTestPrefix wine_;
};

TEST_F(WineRegistry, ReadsEveryValueThatWineWrote) {
    const platform::WinePrefix prefix = wine_.prefix();
    ASSERT_TRUE(prefix.win64) << "Debian's wine64 makes win64 prefixes";
    for (const auto& value : kGameValues) {
        EXPECT_EQ(Query(prefix, kGameKey, value.name), Ansi(value)) << value.name;
    }
    EXPECT_EQ(Query(prefix, kGameKey, "Count"), "\x2c\x01\0\0"s);
    EXPECT_EQ(Query(prefix, "SOFTWARE\\TORV\\VARN MOD 2.0", "InstallPath"),
              "%ProgramFiles%\\VARN\0"s);
    EXPECT_EQ(Query(prefix,
                    "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six: Eagle "
                    "Watch\\",
                    "x"),
              "<no key>");
}

TEST_F(WineRegistry, WritesTheFileWhileNoServerRuns) {
    ASSERT_FALSE(platform::IsWineserverRunning(wine_.folder()));
    const std::string before = SystemReg();
    const auto others = OtherValues("MouseRadiansPerPixel");

    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(wine_.prefix(), kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.012345"),
              platform::RegStatus::Success);
    std::string expected = before;
    const std::string oldLine = "\"MouseRadiansPerPixel\"=\"0.008727\"";
    ASSERT_NE(expected.find(oldLine), std::string::npos);
    expected.replace(expected.find(oldLine), oldLine.size(),
                     "\"MouseRadiansPerPixel\"=\"0.012345\"");
    EXPECT_EQ(SystemReg(), expected) << "only the value's line changed";

    EXPECT_NE(RegQuery("MouseRadiansPerPixel").find("0.012345"), std::string::npos)
        << RegQuery("MouseRadiansPerPixel");
    wine_.WaitForServerExit();
    EXPECT_EQ(Query(wine_.prefix(), kGameKey, "MouseRadiansPerPixel"), "0.012345\0"s);
    EXPECT_EQ(OtherValues("MouseRadiansPerPixel"), others);
}

TEST_F(WineRegistry, WritesThroughTheServerWhileOneRuns) {
    const auto others = OtherValues("MouseRadiansPerPixel");
    ASSERT_EQ(wine_.Run({"wineserver", "-p"}).exitCode, 0);
    for (int i = 0; i < 100 && !platform::IsWineserverRunning(wine_.folder()); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(platform::IsWineserverRunning(wine_.folder())) << "the running server is found";

    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(wine_.prefix(), kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.000249"),
              platform::RegStatus::Success);
    EXPECT_NE(RegQuery("MouseRadiansPerPixel").find("0.000249"), std::string::npos)
        << RegQuery("MouseRadiansPerPixel");

    wine_.StopServer();  // it saves the registry as it ends
    ASSERT_FALSE(platform::IsWineserverRunning(wine_.folder()));
    EXPECT_EQ(Query(wine_.prefix(), kGameKey, "MouseRadiansPerPixel"), "0.000249\0"s);
    EXPECT_EQ(OtherValues("MouseRadiansPerPixel"), others);
}

}  // namespace
