// Pictures of the window on the sample installation, one per tab with and
// without the developer figures, written to <build>/artifacts/loadwise/.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

namespace fs = std::filesystem;

// Lays out demo/ as a prefix; false when the sample or its script is missing.
bool MakeSamplePrefix(const fs::path& target, bool devMode) {
    const fs::path source(LW_SOURCE_DIR);
    const fs::path script = source / "scripts" / "make-demo-prefix.sh";
    if (!fs::exists(script) || !fs::exists(source / "demo" / "game")) {
        return false;
    }
    const std::string command = "'" + script.string() + "' '" + target.string() + "' >/dev/null";
    if (std::system(command.c_str()) != 0) {
        return false;
    }
    if (devMode) {
        std::ifstream in(target / "system.reg", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string registry = text.str();
        const std::size_t key = registry.find("Tom Clancy's Rainbow Six]");
        const std::size_t stamp = registry.find("#time=", key);
        const std::size_t lineEnd = registry.find('\n', stamp);
        if (key == std::string::npos || lineEnd == std::string::npos) {
            return false;
        }
        registry.insert(lineEnd + 1, "\"VARNDEV\"=\"\"\n");
        std::ofstream(target / "system.reg", std::ios::binary | std::ios::trunc) << registry;
    }
    return true;
}

QString ArtifactFolder() {
    const QString folder = QCoreApplication::applicationDirPath() + "/../artifacts/loadwise";
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

void SaveTabs(const platform::WinePrefix& prefix, const QString& stem) {
    testsupport::MessageRecorder messages;
    WindowDriver window(prefix);
    EXPECT_TRUE(messages.messages().empty()) << messages.texts().front();
    for (int tab = 0; tab < 3; ++tab) {
        window.ClickTab(tab);
        ASSERT_EQ(window.tabs()->currentIndex(), tab);
        if (window.list(tab).GetRowCount() > 0) {
            window.ClickRowText(tab, 0);
        }
        QTest::qWait(0);
        const QPixmap picture = window.dialog().grab();
        ASSERT_FALSE(picture.isNull());
        const QString file = QString("%1/%2-tab%3.png").arg(ArtifactFolder(), stem).arg(tab);
        EXPECT_TRUE(picture.save(file)) << file.toStdString();
    }
}

TEST(ScreenshotTest, SampleInstallationEachTabWithAndWithoutDeveloperFigures) {
    for (bool devMode : {false, true}) {
        testsupport::TemporaryFolder folder;
        const fs::path prefixFolder = folder.path() / "prefix";
        const QString stem = devMode ? "sample-dev" : "sample";
        if (MakeSamplePrefix(prefixFolder, devMode)) {
            SaveTabs(platform::LoadPrefix(prefixFolder), stem);
        } else {
            testsupport::InstallationOptions options;
            options.devMode = devMode;
            KitInstallation kit(SmallKit(), options);
            SaveTabs(kit.prefix(), stem);
        }
    }
}

}  // namespace
}  // namespace loadwisetest
