// The desktop entries, AppStream metainfo and hicolor icons of both programs:
// they pass the desktop's own validators, name the same program, icon and
// window, and the icons are the very drawing the windows show.

#include <gtest/gtest.h>

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "loadwise/res/program_icon.h"
#include "varnopts/res/program_icon.h"
#include "varnopts/window/varn_options_app.h"

namespace {

const QString kSourceDir = QStringLiteral(LW_SOURCE_DIR);
const QString kIconDir = QStringLiteral(LW_ICON_DIR);
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The options program's application object is the test program's
// QApplication, so that what it sets up for the desktop can be read back.
class ApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "packaging_tests";
        static char* argv[] = {name, nullptr};
        app_ = new CVarnOptionsApp(argc, argv);
    }
    void TearDown() override { delete app_; }

  private:
    CVarnOptionsApp* app_ = nullptr;
};
[[maybe_unused]] ::testing::Environment* const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

struct Program {
    QString id;      // desktop id, AppStream id and icon name
    QString binary;  // the installed program
    QImage (*icon)(int size);
};

QImage LoadwiseIcon(int size) {
    return loadwise::ProgramIcon().pixmap(size, size).toImage();
}
QImage VarnoptsIcon(int size) {
    return varnopts::res::ProgramIcon().pixmap(size, size).toImage();
}

const std::vector<Program>& Programs() {
    static const std::vector<Program> programs = {
        {QStringLiteral("io.github.r6tools.Loadwise"), QStringLiteral("loadwise"), LoadwiseIcon},
        {QStringLiteral("io.github.r6tools.varnopts"), QStringLiteral("varnopts"), VarnoptsIcon},
    };
    return programs;
}

QString DesktopFile(const Program& program) {
    return kSourceDir + QStringLiteral("/packaging/") + program.id + QStringLiteral(".desktop");
}
QString MetainfoFile(const Program& program) {
    return kSourceDir + QStringLiteral("/packaging/") + program.id +
           QStringLiteral(".metainfo.xml");
}
QString PngIcon(const Program& program, int size) {
    return kIconDir + QStringLiteral("/hicolor/%1x%1/apps/").arg(size) + program.id +
           QStringLiteral(".png");
}

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun RunTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit) {
        return {-1, tool + QStringLiteral(" could not run: ") + process.errorString()};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

// The keys of the [Desktop Entry] group.
std::map<QString, QString> DesktopEntry(const QString& file) {
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
    std::map<QString, QString> keys;
    bool inEntry = false;
    for (const QByteArray& raw : in.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
        } else if (inEntry && line.contains(u'=') && !line.startsWith(u'#')) {
            keys[line.section(u'=', 0, 0)] = line.section(u'=', 1);
        }
    }
    return keys;
}

struct Metainfo {
    QString id, launchable, binary, icon;
    int screenshots = 0;
    std::map<QString, QString> releaseNotes;  // version -> description text
};

Metainfo ReadMetainfo(const QString& file) {
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
    QXmlStreamReader xml(&in);
    Metainfo info;
    QString release;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView name = xml.name();
        if (name == u"id") {
            info.id = xml.readElementText();
        } else if (name == u"launchable") {
            info.launchable = xml.readElementText();
        } else if (name == u"binary") {
            info.binary = xml.readElementText();
        } else if (name == u"screenshot") {
            ++info.screenshots;
        } else if (name == u"release") {
            release = xml.attributes().value(QStringLiteral("version")).toString();
            info.releaseNotes[release];
        } else if (name == u"p" && !release.isEmpty()) {
            info.releaseNotes[release] += xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return info;
}

// Mean difference of the colour and alpha channels, 0 to 255.
double MeanDifference(const QImage& a, const QImage& b) {
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    if (left.size() != right.size()) {
        return 255;
    }
    double sum = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * left.width() * left.height());
}

TEST(DesktopIntegrationTest, DesktopEntriesAndMetainfoPassTheValidators) {
    for (const Program& program : Programs()) {
        const ToolRun desktop =
            RunTool(QStringLiteral("desktop-file-validate"), {DesktopFile(program)});
        EXPECT_EQ(desktop.exitCode, 0) << desktop.output.toStdString();
        EXPECT_TRUE(desktop.output.trimmed().isEmpty())  // not even a hint
            << desktop.output.toStdString();
        const ToolRun metainfo = RunTool(
            QStringLiteral("appstreamcli"),
            {QStringLiteral("validate"), QStringLiteral("--no-net"), MetainfoFile(program)});
        EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output.toStdString();
    }
}

TEST(DesktopIntegrationTest, EachEntryStartsItsProgramWithItsIconAndWindow) {
    for (const Program& program : Programs()) {
        const std::map<QString, QString> entry = DesktopEntry(DesktopFile(program));
        const std::map<QString, QString> expected = {
            {QStringLiteral("Type"), QStringLiteral("Application")},
            {QStringLiteral("Exec"), program.binary},
            {QStringLiteral("TryExec"), program.binary},
            {QStringLiteral("Icon"), program.id},
            {QStringLiteral("StartupWMClass"), program.binary},
            {QStringLiteral("Terminal"), QStringLiteral("false")},
            {QStringLiteral("Categories"), QStringLiteral("Game;")},
        };
        for (const auto& [key, value] : expected) {
            const auto found = entry.find(key);
            ASSERT_NE(found, entry.end())
                << program.id.toStdString() << ": no " << key.toStdString();
            EXPECT_EQ(found->second, value)
                << program.id.toStdString() << ": " << key.toStdString();
        }
    }
}

TEST(DesktopIntegrationTest, MetainfoNamesTheEntryTheProgramScreenshotsAndThisRelease) {
    for (const Program& program : Programs()) {
        const Metainfo info = ReadMetainfo(MetainfoFile(program));
        EXPECT_EQ(info.id, program.id);
        EXPECT_EQ(info.launchable, program.id + QStringLiteral(".desktop"));
        EXPECT_EQ(info.binary, program.binary);
        EXPECT_EQ(info.screenshots, 0) << "no screenshot address of ours to give";
        const auto notes = info.releaseNotes.find(QStringLiteral(LW_PROJECT_VERSION));
        ASSERT_NE(notes, info.releaseNotes.end())
            << program.id.toStdString() << " has no release notes for version " LW_PROJECT_VERSION;
        EXPECT_FALSE(notes->second.trimmed().isEmpty());
    }
}

TEST(DesktopIntegrationTest, TheOptionsWindowTellsTheDesktopItsEntry) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("io.github.r6tools.varnopts"));
    EXPECT_TRUE(QFile::exists(kSourceDir + QStringLiteral("/packaging/") +
                              QGuiApplication::desktopFileName() + QStringLiteral(".desktop")));
}

TEST(DesktopIntegrationTest, MenuIconsAreTheWindowsOwnIconAtEverySize) {
    for (const Program& program : Programs()) {
        for (const int size : kIconSizes) {
            const QImage file(PngIcon(program, size));
            ASSERT_FALSE(file.isNull()) << PngIcon(program, size).toStdString();
            EXPECT_EQ(file.size(), QSize(size, size));
            EXPECT_EQ(MeanDifference(file, program.icon(size)), 0.0)
                << program.id.toStdString() << " at " << size;
        }
    }
}

TEST(DesktopIntegrationTest, TheScalableIconIsTheSameDrawing) {
    for (const Program& program : Programs()) {
        const QString svg = kIconDir + QStringLiteral("/hicolor/scalable/apps/") + program.id +
                            QStringLiteral(".svg");
        QSvgRenderer renderer(svg);
        ASSERT_TRUE(renderer.isValid()) << svg.toStdString();
        for (const int size : {64, 128, 256}) {
            QImage rendered(size, size, QImage::Format_ARGB32);
            rendered.fill(Qt::transparent);
            QPainter painter(&rendered);
            renderer.render(&painter);
            painter.end();
            // Anti-aliasing differs a little between the two renderers; a
            // different drawing differs by far more.
            EXPECT_LT(MeanDifference(rendered, QImage(PngIcon(program, size))), 1.0)
                << program.id.toStdString() << " at " << size;
        }
    }
}

}  // namespace
