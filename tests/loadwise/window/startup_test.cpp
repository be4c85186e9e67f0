// Start-up: what the window shows, the messages before it, and leaving
// without saving.

#include <gtest/gtest.h>

#include <QLabel>

#include "support/kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

TEST(StartupTest, ShowsThePrimaryListInFileOrderWithNamesFromTheTable) {
    testsupport::KitInstallation kit;
    testsupport::MessageRecorder messages;
    Window window(kit.prefix());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(window.List(0).isVisible());
    EXPECT_FALSE(window.List(1).isVisible());
    EXPECT_EQ(window.Column(0, 1), "rook.txt+ harrow.txt vesper.txt+ ");
    EXPECT_EQ(window.List(0).model()->index(2, 0).data().toString(),
              QString::fromUtf8("Vesper \xC3\xA0 pompe"));
    EXPECT_EQ(window.Counter(), "2");
}

// Messages come while the window is still hidden, in the order start-up meets them.
TEST(StartupTest, MessagesComeBeforeTheWindowIsShown) {
    testsupport::InstallationOptions options;
    options.gameKey = false;
    testsupport::KitInstallation kit(testsupport::SmallKit(), options);
    CLoadwiseDlg dialog(kit.prefix());
    std::vector<std::string> seen;
    const auto previous = platform::SetMessageOperation(
        [&](const std::string& text, const std::string& caption, unsigned style) {
            EXPECT_EQ(caption, "Loadwise");
            EXPECT_EQ(style, platform::MB_OK | platform::MB_ICONHAND);
            EXPECT_FALSE(dialog.isVisible()) << text;
            seen.push_back(text);
            return platform::IDOK;
        });
    dialog.OnInitDialog();
    platform::SetMessageOperation(previous);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "Error opening main reg key");
    // Without folders the item files are looked for where the program runs.
    EXPECT_NE(seen[1].find("primarymp.itm"), std::string::npos) << seen[1];
    EXPECT_EQ(dialog.findChild<QLabel*>("IDC_SELECTED_COUNT")->text(), "0");
}

TEST(StartupTest, EscapeExitAndTheCloseBoxLeaveWithoutSaving) {
    testsupport::KitInstallation kit;
    const std::vector<std::string> before = kit.KitFiles();
    testsupport::MessageRecorder messages;
    for (int way = 0; way < 3; ++way) {
        Window window(kit.prefix());
        window.ClickBox(0, 0);
        if (way == 0) {
            QTest::keyClick(&window.dialog, Qt::Key_Escape);
        } else if (way == 1) {
            window.Click("IDCANCEL");
        } else {
            window.dialog.close();
        }
        EXPECT_FALSE(window.dialog.isVisible()) << way;
        EXPECT_EQ(window.dialog.result(), QDialog::Rejected) << way;
    }
    EXPECT_EQ(kit.KitFiles(), before);
}

}  // namespace
}  // namespace loadwisetest
