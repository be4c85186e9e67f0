// Save from the window: the six files follow the ticks and the window ends;
// a failure says which file, changes nothing and keeps the window open.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

namespace fs = std::filesystem;
using testsupport::CrLfLines;

TEST(SaveTest, SaveWritesTheTicksIntoAllSixFilesAndEnds) {
    testsupport::KitInstallation kit;
    testsupport::MessageRecorder messages;
    Window window(kit.prefix());
    window.ClickBox(0, 0);      // rook off
    window.ClickBox(0, 1);      // harrow on
    window.ClickHeading(0, 0);  // the order of the rows does not matter
    window.ClickTab(2);
    window.ClickBox(2, 0);  // medkit on
    window.Click("IDOK");
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(window.dialog.result(), QDialog::Accepted);
    const std::string head = "// multiplayer items\r\n\"header\" \"x\" \"y\"\r\n";
    const std::vector<std::string> expected = {
        head + CrLfLines({"//\"rook.txt\" \"rook\" \"rook.atr\"",
                          "\"harrow.txt\" \"harrow\" \"harrow.atr\"",
                          "\"vesper.txt\" \"vesper\" \"vesper.atr\""}),
        head + CrLfLines({"\"lyra9.txt\" \"lyra9\" \"lyra9.atr\"",
                          "//\"vole32.txt\" \"vole32\" \"vole32.atr\""}),
        head + CrLfLines({"\"medkit.txt\" \"medkit\" \"medkit.atr\"",
                          "\"flash.txt\" \"flash\" \"flash.atr\""}),
        CrLfLines({"// kit list", "//\"rook.txt\"", "\"harrow.txt\"", "\"vesper.txt\""}),
        CrLfLines({"// kit list", "\"lyra9.txt\"", "//\"vole32.txt\""}),
        CrLfLines({"// kit list", "\"medkit.txt\"", "\"flash.txt\""}),
    };
    EXPECT_EQ(kit.KitFiles(), expected);
}

TEST(SaveTest, FailureSaysWhichFileChangesNothingAndKeepsTheWindowOpen) {
    testsupport::KitInstallation kit;
    testsupport::MessageRecorder messages;
    Window window(kit.prefix());
    const std::vector<std::string> before = kit.KitFiles();
    const fs::path special = kit.UnixPath(kit.KitList(2));
    fs::rename(special, special.string() + ".aside");  // gone while the window is open
    window.ClickBox(0, 0);
    window.Click("IDOK");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].style, platform::MB_OK | platform::MB_ICONHAND);
    EXPECT_NE(messages.messages()[0].text.find("special.txt"), std::string::npos);
    EXPECT_TRUE(window.dialog.isVisible());
    fs::rename(special.string() + ".aside", special);
    EXPECT_EQ(kit.KitFiles(), before);
    window.Click("IDOK");  // put right, Save works
    EXPECT_EQ(window.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(kit.ReadFile(kit.KitList(0)).substr(0, 24), "// kit list\r\n//\"rook.txt");
}

}  // namespace
}  // namespace loadwisetest
