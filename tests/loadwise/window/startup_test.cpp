#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

namespace fs = std::filesystem;

TEST(StartupTest, ShowsThePrimaryTabWithItsCount) {
    KitInstallation kit(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(kit.prefix());

    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(window.dialog().windowTitle(), "Loadwise for Rainbow Six : Eagle Watch");
    EXPECT_FALSE(window.dialog().windowIcon().isNull());
    EXPECT_EQ(window.tabs()->count(), 3);
    EXPECT_EQ(window.tabs()->tabText(0), "Primary");
    EXPECT_EQ(window.tabs()->tabText(1), "Secondary");
    EXPECT_EQ(window.tabs()->tabText(2), "Special");
    EXPECT_EQ(window.tabs()->currentIndex(), 0);
    EXPECT_EQ(window.dialog().CurrentTab(), 0);
    EXPECT_TRUE(window.list(0).isVisible());
    EXPECT_FALSE(window.list(1).isVisible());
    EXPECT_FALSE(window.list(2).isVisible());
    EXPECT_EQ(window.counter()->text(), "2");
    EXPECT_TRUE(window.button("IDOK")->isEnabled());
    EXPECT_EQ(window.description(), "");
    EXPECT_FALSE(window.multiplayerOnly()->isChecked());

    // Rows in file order, names from the name table (Windows-1252 shown right).
    EXPECT_EQ(window.Column(0, 1), "rook.txt,harrow.txt,vesper.txt");
    EXPECT_EQ(window.list(0).model()->index(2, 0).data().toString(),
              QString::fromUtf8("Vesper \xC3\xA0 pompe"));
    EXPECT_EQ(window.CheckedRows(0), 2);
    EXPECT_FALSE(window.list(0).GetCheck(1));
    EXPECT_EQ(window.list(2).GetRowCount(), 2);
}

TEST(StartupTest, ListsShowOnlyTheirVisibleColumns) {
    KitInstallation kit(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(kit.prefix());
    const auto visible = [&window](int tab) {
        QStringList headings;
        auto* model = window.list(tab).model();
        for (int column = 0; column < model->columnCount(); ++column) {
            if (!window.list(tab).isColumnHidden(column)) {
                headings << model->headerData(column, Qt::Horizontal).toString();
            }
        }
        return headings.join(',');
    };
    EXPECT_EQ(visible(0), "Name,Mag,RoF,Accuracy,Recoil,Reticle,Zoom");
    EXPECT_EQ(visible(1), "Name,Mag,RoF,Accuracy,Recoil,Reticle,Zoom");
    EXPECT_EQ(visible(2), "Name");
}

TEST(StartupTest, NoActiveItemsMeansNoSave) {
    Kit kit = SmallKit();
    for (auto& tab : kit) {
        for (Item& item : tab) {
            item.active = false;
        }
    }
    KitInstallation installation(kit);
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());
    EXPECT_EQ(window.counter()->text(), "0");
    EXPECT_FALSE(window.button("IDOK")->isEnabled());
    // The first control that takes the focus has it.
    EXPECT_EQ(QApplication::focusWidget(), window.button("IDCANCEL"));
}

// Messages come while the window is still hidden, in the order start-up meets them.
TEST(StartupTest, MessagesComeBeforeTheWindowIsShown) {
    testsupport::InstallationOptions options;
    options.gameKey = false;
    KitInstallation kit(SmallKit(), options);
    std::vector<std::pair<std::string, bool>> seen;
    CLoadwiseDlg dialog(kit.prefix());
    const auto previous = platform::SetMessageOperation(
        [&](const std::string& text, const std::string& caption, unsigned style) {
            EXPECT_EQ(caption, "Loadwise");
            EXPECT_EQ(style & 0xF0, platform::MB_ICONHAND);
            seen.emplace_back(text, dialog.isVisible());
            return platform::IDOK;
        });
    dialog.OnInitDialog();
    platform::SetMessageOperation(previous);

    // Without folders no file is looked for: no other message.
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, "Error opening main reg key");
    for (const auto& [text, visible] : seen) {
        EXPECT_FALSE(visible) << text;
    }
    // The window still opens with its three lists.
    EXPECT_EQ(dialog.List(0)->GetRowCount(), 0);
    EXPECT_EQ(dialog.findChild<QLabel*>("IDC_SELECTED_COUNT")->text(), "0");
}

TEST(StartupTest, ReadOnlyKitFilesBecomeWritableEvenWithoutSave) {
    KitInstallation kit(SmallKit());
    const fs::path file = kit.installation().UnixPath(kit.ItemFile(0));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::vector<std::string> before = kit.KitFiles();
    testsupport::MessageRecorder messages;
    {
        WindowDriver window(kit.prefix());
        window.Click("IDCANCEL");
        EXPECT_EQ(window.dialog().result(), QDialog::Rejected);
    }
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(kit.KitFiles(), before);
    EXPECT_TRUE(messages.messages().empty());
}

TEST(StartupTest, EscapeAndTheCloseBoxLeaveWithoutSaving) {
    KitInstallation kit(SmallKit());
    const std::vector<std::string> before = kit.KitFiles();
    testsupport::MessageRecorder messages;
    {
        WindowDriver window(kit.prefix());
        window.ClickCheckBox(0, 0);
        QTest::keyClick(&window.dialog(), Qt::Key_Escape);
        EXPECT_FALSE(window.dialog().isVisible());
        EXPECT_EQ(window.dialog().result(), QDialog::Rejected);
    }
    {
        WindowDriver window(kit.prefix());
        window.ClickCheckBox(0, 0);
        window.dialog().close();
        EXPECT_EQ(window.dialog().result(), QDialog::Rejected);
    }
    EXPECT_EQ(kit.KitFiles(), before);
}

TEST(StartupTest, AboutButtonOpensTheAboutBox) {
    KitInstallation kit(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(kit.prefix());
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->windowTitle(), "About Loadwise");
        QStringList texts;
        for (QLabel* label : about->findChildren<QLabel*>()) {
            texts << label->text();
        }
        EXPECT_TRUE(texts.contains("Loadwise - Version 1.03"));
        seen = true;
        QTest::keyClick(about, Qt::Key_Escape);
    });
    window.Click("IDC_ABOUT");
    EXPECT_TRUE(seen);
    EXPECT_TRUE(window.dialog().isVisible());
}

}  // namespace
}  // namespace loadwisetest
