// Which prefix a program starts on: --prefix, a remembered choice, the one
// prefix holding the game, or the user's pick in the chooser when several do.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QTreeWidget>

#include "platform/prefix_selection.h"
#include "platform/ui/prefix_chooser.h"
#include "platform/ui/program_startup.h"
#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace {

namespace fs = std::filesystem;

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
        auto* chooser =
            qobject_cast<platform::ui::PrefixChooser*>(QApplication::activeModalWidget());
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
        return platform::ui::StartupPrefix(arguments, {"loadwise", "1", ""},
                                           testsupport::GameKeyName())
            ->folder;
    };
    EXPECT_EQ(start({"loadwise"}), home.path() / "Games/a");
    EXPECT_EQ(shown, 0);

    fs::create_directory_symlink(second.prefix().folder, home.path() / "Games/b");
    EXPECT_EQ(start({"loadwise"}), home.path() / "Games/b");
    EXPECT_EQ(start({"loadwise"}), home.path() / "Games/b") << "remembered, not asked again";
    EXPECT_EQ(start({"loadwise", "--prefix", QString::fromStdString(first.prefix().folder)}),
              first.prefix().folder);
    EXPECT_EQ(shown, 1);
}

}  // namespace
