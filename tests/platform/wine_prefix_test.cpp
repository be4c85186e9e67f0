// Which prefix the programs use, and which registry view it gives them.

#include "platform/wine_prefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace {

using testsupport::ScopedEnvironment;

TEST(WinePrefix, WineprefixOrElseDotWineInHome) {
    ScopedEnvironment home("HOME", "/home/player");
    {
        ScopedEnvironment prefix("WINEPREFIX", "/games/r6");
        EXPECT_EQ(platform::DefaultPrefixFolder(), "/games/r6");
    }
    {
        ScopedEnvironment prefix("WINEPREFIX", "");
        EXPECT_EQ(platform::DefaultPrefixFolder(), "/home/player/.wine");
    }
    ScopedEnvironment prefix("WINEPREFIX", std::nullopt);
    EXPECT_EQ(platform::DefaultPrefixFolder(), "/home/player/.wine");
}

TEST(WinePrefix, ArchitectureComesFromTheRegistryHeader) {
    testsupport::TemporaryFolder folder;
    const auto write = [&](const std::string& content) {
        std::ofstream(folder.path() / "system.reg", std::ios::binary) << content;
        return platform::LoadPrefix(folder.path());
    };
    EXPECT_TRUE(write("WINE REGISTRY Version 2\r\n;; x\r\n\r\n#arch=win64\r\n\r\n[A] 1\r\n").win64);
    EXPECT_FALSE(write("WINE REGISTRY Version 2\n\n#arch=win32\n\n[A] 1\n").win64);
    EXPECT_FALSE(write("WINE REGISTRY Version 2\n\n[A] 1\n#arch=win64\n").win64)
        << "only the header counts";
    const auto missing = platform::LoadPrefix(folder.path() / "missing");
    EXPECT_FALSE(missing.win64);
    EXPECT_EQ(missing.folder, folder.path() / "missing");
}

}  // namespace
