// Reading while a wineserver runs: system.reg on disk can be half a minute
// behind the server, so both programs must read what the server holds.

#include <gtest/gtest.h>

#include <iostream>

#include "loadwise/kitdata/game_paths.h"
#include "platform/wineserver.h"
#include "varnopts/settings/game_paths.h"
#include "wine_test_prefix.h"

namespace {

const std::string kGameKeyForReg =
    "HKLM\\SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six";

TEST(LiveRegistryWine, ValuesChangedThroughTheRunningServerAreWhatTheProgramsRead) {
    winetest::WineTestPrefix wine;
    if (!wine.available()) {
        GTEST_SKIP() << wine.whyUnavailable();
    }
    const auto set = [&](const std::string& name, const std::string& text) {
        return wine
            .Run({"wine", "reg", "add", kGameKeyForReg, "/v", name, "/t", "REG_SZ", "/d", text,
                  "/f", "/reg:32"})
            .exitCode;
    };
    for (const auto& field : varnopts::GameValueFields()) {
        ASSERT_EQ(set(std::string(field.name), "C:\\R6\\old"), 0) << field.name;
    }
    wine.WaitForServerExit();  // system.reg now holds the old values
    ASSERT_EQ(wine.Run({"wineserver", "-p"}).exitCode, 0);
    ASSERT_EQ(set("MouseRadiansPerPixel", "0.012345"), 0);
    ASSERT_EQ(set("EquipmentPath", "C:\\R6\\new"), 0);
    ASSERT_TRUE(platform::IsWineserverRunning(wine.folder()));
    varnopts::GamePaths options;
    ASSERT_TRUE(varnopts::ReadGamePaths(wine.prefix(), options));
    const kitdata::GamePaths kit = kitdata::ReadGamePaths(wine.prefix());
    std::cout << "varnopts reads MouseRadiansPerPixel " << options.m_strMouseRadiansPerPixel
              << ", Loadwise reads EquipmentPath " << kit.m_strEquipmentPath << "\n";
    EXPECT_EQ(options.m_strMouseRadiansPerPixel, "0.012345");
    EXPECT_EQ(kit.m_strEquipmentPath, "C:\\R6\\new\\");
}

}  // namespace
