// Pictures of the options window on the sample installation (demo/), kept as
// test artifacts in <build>/artifacts/ for a reviewer to look at. The test
// also checks that each picture holds something.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "platform/wine_prefix.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

using namespace varnwindowtest;

namespace {

QString ArtifactFolder() {
    const QByteArray configured = qgetenv("LW_ARTIFACT_DIR");
    // The test program lives in <build>/tests.
    const QString folder = configured.isEmpty()
                               ? QCoreApplication::applicationDirPath() + "/../artifacts"
                               : QString::fromLocal8Bit(configured);
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

void Save(QWidget* widget, const QString& name) {
    const QPixmap picture = widget->grab();
    ASSERT_FALSE(picture.isNull()) << name.toStdString();
    const QImage image = picture.toImage();
    // A picture of one colour only would mean nothing was drawn.
    const QRgb corner = image.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 3) {
        for (int x = 0; x < image.width() && !varied; x += 3) {
            varied = image.pixel(x, y) != corner;
        }
    }
    EXPECT_TRUE(varied) << name.toStdString();
    const QString file = ArtifactFolder() + "/" + name;
    EXPECT_TRUE(picture.save(file, "PNG")) << file.toStdString();
}

TEST(OptionsWindowScreenshots, SampleInstallation) {
    testsupport::TemporaryFolder folder;
    const std::filesystem::path prefixFolder = folder.path() / "prefix";
    const std::string command = std::string("'") + LW_SOURCE_DIR +
                                "/scripts/make-demo-prefix.sh' '" + prefixFolder.string() +
                                "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    StartRecorder recorder;  // no real program is started from here
    testsupport::MessageRecorder messages;
    auto window = std::make_unique<CVarnOptionsDlg>(platform::LoadPrefix(prefixFolder));
    ASSERT_TRUE(window->OnInitDialog());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(messages.messages().empty());
    Save(window.get(), "varnopts.png");

    QTimer::singleShot(0, [&] {
        if (auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            Save(about, "varnopts-about.png");
            about->accept();
        }
    });
    window->OnAbout();

    QTimer::singleShot(100, [&] {
        if (auto* panel = window->findChild<QDialog*>("IDD_BUSY_PANEL")) {
            Save(panel, "varnopts-install-progress.png");
        }
    });
    window->OnInstall();
}

}  // namespace
