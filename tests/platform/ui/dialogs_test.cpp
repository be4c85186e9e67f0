// The platform's dialogs: a message's icon, buttons and answer; the prefix
// chooser, only when several prefixes hold the game, and what overrides it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "platform/message.h"
#include "platform/prefix_selection.h"
#include "platform/ui/prefix_chooser.h"
#include "platform/ui/program_startup.h"
#include "platform/ui/qt_message_box.h"
#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

TEST(QtMessageBox, StylesGiveIconsButtonsAndAnswers) {
    MessageOperation previous = SetMessageOperation({});
    ui::InstallQtMessageBox();
    const std::tuple<unsigned, QMessageBox::StandardButton, QMessageBox::Icon, int> cases[] = {
        {MB_OK | MB_ICONHAND, QMessageBox::Ok, QMessageBox::Critical, IDOK},
        {MB_YESNO | MB_ICONEXCLAMATION, QMessageBox::Yes, QMessageBox::Warning, IDYES},
        {MB_YESNO, QMessageBox::No, QMessageBox::NoIcon, IDNO},
    };
    for (const auto& [style, answer, icon, expected] : cases) {
        QString shown;
        QTimer::singleShot(0, [&, style = style, answer = answer, icon = icon] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), icon) << style;
            shown = box->windowTitle() + ": " + box->text();
            box->button(answer)->click();
        });
        EXPECT_EQ(ShowMessage("Error opening reg key \xE9", "Loadwise", style), expected);
        EXPECT_EQ(shown, QString::fromUtf8("Loadwise: Error opening reg key \xC3\xA9"));
    }
    // Where the programs looked stays beneath the text however many places
    // there are, and the folder button answers for itself.
    const std::string places = "Looked in:\n  1\n  2\n  3\n  4\n  5\n  6\n  7\n  8\n  9";
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->informativeText().toStdString(), places);
        EXPECT_TRUE(box->detailedText().isEmpty());
        box->findChild<QPushButton*>("chooseFolder")->click();
    });
    EXPECT_EQ(ShowMessage(WithDetails("Error opening main reg key", places), "Loadwise",
                          MB_OK | MB_ICONHAND | kChooseFolderButton),
              kIdChooseFolder);
    SetMessageOperation(std::move(previous));
}

TEST(PrefixChooserTest, ChooserOnlyForSeveralPrefixesRememberedAndOverridden) {
    testsupport::FakeInstallation first, second;
    testsupport::TemporaryFolder home;
    testsupport::ScopedEnvironment homeVariable("HOME", home.path().string());
    testsupport::ScopedEnvironment config("XDG_CONFIG_HOME", (home.path() / "config").string());
    testsupport::ScopedEnvironment noPrefix("WINEPREFIX", std::nullopt);
    fs::create_directories(home.path() / "Games");
    fs::create_directory_symlink(first.prefix().folder, home.path() / "Games/a");

    int shown = 0;
    QTimer answer;  // picks the second prefix and remembers it
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* chooser = qobject_cast<ui::PrefixChooser*>(QApplication::activeModalWidget());
        if (chooser != nullptr) {
            ++shown;
            auto* list = chooser->findChild<QTreeWidget*>("prefixList");
            list->setCurrentItem(list->topLevelItem(1));
            chooser->findChild<QCheckBox*>("remember")->setChecked(true);
            chooser->accept();
        }
    });
    answer.start(10);
    const auto start = [](QStringList arguments) {
        return ui::StartupPrefix(arguments, {"loadwise", "1", ""}, testsupport::GameKeyName())
            ->folder;
    };
    EXPECT_EQ(start({"loadwise"}), home.path() / "Games/a");
    EXPECT_EQ(shown, 0);

    fs::create_directory_symlink(second.prefix().folder, home.path() / "Games/b");
    EXPECT_EQ(start({"loadwise"}), home.path() / "Games/b");
    EXPECT_EQ(start({"loadwise"}), home.path() / "Games/b") << "remembered, not asked again";
    // A platform plugin leaves the options that are not its own.
    EXPECT_EQ(start({"loadwise", "-display", ":5", "-prefix",
                     QString::fromStdString(first.prefix().folder)}),
              first.prefix().folder);
    EXPECT_EQ(shown, 1);
}

}  // namespace
