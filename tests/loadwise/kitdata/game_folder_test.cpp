// Files of a game folder are found as a full path resolution finds them.

#include <gtest/gtest.h>

#include <string>

#include "loadwise/kitdata/game_folder.h"
#include "sample_kit.h"

namespace kitdata {
namespace {

TEST(GameFolderTest, FindsFilesAsTheFullPathResolutionDoes) {
    testsupport::FakeInstallation installation;
    installation.WriteFile("C:\\Kit\\Data\\exact.atr", "exact");
    installation.WriteFile("C:\\Kit\\Data\\UPPER.ATR", "upper");
    installation.WriteFile("C:\\Kit\\Data\\Sub\\inner.atr", "inner");
    installation.WriteFile("C:\\Kit\\Datajoined.atr", "joined");
    installation.WriteFile("C:\\Kit\\Data\\caf\xE9.atr", "cafe");

    struct Case {
        std::string folder;
        std::string name;
        std::string content;  // "" when the file is not found
    };
    const Case cases[] = {
        {"C:\\Kit\\Data\\", "exact.atr", "exact"},
        {"C:\\Kit\\Data\\", "upper.atr", "upper"},
        {"c:\\kit\\data\\", "EXACT.ATR", "exact"},
        {"C:\\Kit\\Data\\", "sub\\INNER.atr", "inner"},
        {"C:\\Kit\\Data\\", "..\\Data\\exact.atr", "exact"},
        {"C:\\Kit\\Data\\", "CAF\xC9.ATR", "cafe"},
        {"C:\\Kit\\Data", "joined.atr", "joined"},  // no separator: plain concatenation
        {"C:\\Kit\\Data/", "exact.atr", "exact"},
        {"C:\\Kit\\Data\\", "missing.atr", ""},
        {"C:\\Kit\\Data\\", "", ""},
        {"C:\\Kit\\Data\\", std::string("exact.atr\0x", 11), "exact"},
        {"C:\\Nowhere\\", "exact.atr", ""},
    };
    for (const Case& c : cases) {
        const GameFolder folder(installation.prefix(), c.folder);
        const auto lines = folder.ReadLines(c.name);
        if (c.content.empty()) {
            EXPECT_FALSE(lines.ok()) << c.folder << " + " << c.name;
        } else {
            ASSERT_TRUE(lines.ok()) << c.folder << " + " << c.name;
            EXPECT_EQ(lines.value(), std::vector<std::string>{c.content}) << c.name;
        }
    }
}

}  // namespace
}  // namespace kitdata
