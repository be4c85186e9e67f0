// Save: the six files follow the ticks and the window ends; a failure says
// what failed, changes nothing and keeps the window open.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

namespace fs = std::filesystem;

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

TEST(SaveTest, SaveWritesTheTicksIntoAllSixFilesAndEnds) {
    const Kit items = SmallKit();
    KitInstallation kit(items);
    testsupport::MessageRecorder messages;
    WindowDriver window(kit.prefix());

    window.ClickCheckBox(0, 0);  // rook off
    window.ClickCheckBox(0, 1);  // harrow on
    window.ClickHeading(0, 0);   // the order of the rows does not matter
    window.ClickTab(2);
    window.ClickCheckBox(2, 0);  // medkit on
    window.Click("IDOK");

    EXPECT_TRUE(messages.messages().empty());
    EXPECT_FALSE(window.dialog().isVisible());
    EXPECT_EQ(window.dialog().result(), QDialog::Accepted);
    EXPECT_EQ(kit.Read(kit.ItemFile(0)),
              Lines({"// multiplayer items", "\"header\" \"x\" \"y\"", ItemLine(items[0][0], false),
                     ItemLine(items[0][1], true), ItemLine(items[0][2], true)}));
    EXPECT_EQ(kit.Read(kit.KitList(0)),
              Lines({"// kit list", KitLine(items[0][0], false), KitLine(items[0][1], true),
                     KitLine(items[0][2], true)}));
    EXPECT_EQ(kit.Read(kit.ItemFile(2)),
              Lines({"// multiplayer items", "\"header\" \"x\" \"y\"", ItemLine(items[2][0], true),
                     ItemLine(items[2][1], true)}));
    EXPECT_EQ(kit.Read(kit.KitList(2)),
              Lines({"// kit list", KitLine(items[2][0], true), KitLine(items[2][1], true)}));
    EXPECT_EQ(kit.Read(kit.ItemFile(1)),
              Lines({"// multiplayer items", "\"header\" \"x\" \"y\"", ItemLine(items[1][0], true),
                     ItemLine(items[1][1], false)}));
}

TEST(SaveTest, AltSSavesLikeTheButton) {
    KitInstallation kit(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(kit.prefix());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.dialog()));
    window.Click("IDC_SELECT_ALL");
    QTest::keyClick(&window.dialog(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&window] { return !window.dialog().isVisible(); }));
    EXPECT_EQ(window.dialog().result(), QDialog::Accepted);
    EXPECT_EQ(kit.Read(kit.ItemFile(0)).find("//\""), std::string::npos);
}

TEST(SaveTest, FailureSaysWhichFileChangesNothingAndKeepsTheWindowOpen) {
    const Kit items = SmallKit();
    KitInstallation kit(items);
    testsupport::MessageRecorder messages;
    WindowDriver window(kit.prefix());
    const std::vector<std::string> before = kit.KitFiles();

    // The Special kit list goes away while the window is open.
    const fs::path special = kit.installation().UnixPath(kit.KitList(2));
    const fs::path aside = special.string() + ".aside";
    fs::rename(special, aside);
    window.ClickCheckBox(0, 0);
    window.Click("IDOK");

    ASSERT_EQ(messages.messages().size(), 1u);
    const testsupport::RecordedMessage& message = messages.messages()[0];
    EXPECT_EQ(message.caption, "Loadwise");
    EXPECT_EQ(message.style, platform::MB_OK | platform::MB_ICONHAND);
    EXPECT_NE(message.text.find("special.txt"), std::string::npos) << message.text;
    EXPECT_TRUE(window.dialog().isVisible());
    EXPECT_NE(window.dialog().result(), QDialog::Accepted);
    fs::rename(aside, special);
    EXPECT_EQ(kit.KitFiles(), before);

    // Put right, Save works and ends the window.
    window.Click("IDOK");
    EXPECT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(window.dialog().result(), QDialog::Accepted);
    EXPECT_EQ(kit.Read(kit.KitList(0)).substr(0, 24), "// kit list\r\n//\"rook.txt");
}

}  // namespace
}  // namespace loadwisetest
