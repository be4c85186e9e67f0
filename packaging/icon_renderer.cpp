// Renders a program's icon into a hicolor icon theme tree at build time:
//   <output>/hicolor/<n>x<n>/apps/<id>.png   for every size the desktop uses
//   <output>/hicolor/scalable/apps/<id>.svg  the same drawing as vectors
// so that the desktop menu shows exactly the icon the window shows.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>
#include <functional>

#include "loadwise/res/program_icon.h"
#include "platform/ui/painted_icon.h"
#include "varnopts/res/program_icon.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// The scalable icon is drawn as at this size, the largest the window uses.
constexpr int kScalableSize = 256;

struct Program {
    const char* name;
    const char* iconName;
    std::function<QImage(int)> draw;
    std::function<void(QPainter&, int)> paint;
};

const Program kPrograms[] = {
    {"Loadwise", "io.github.r6tools.Loadwise",
     [](int size) { return loadwise::DrawProgramIcon(size); },
     [](QPainter& painter, int size) { loadwise::PaintProgramIcon(painter, size); }},
    {"varnopts", "io.github.r6tools.varnopts",
     [](int size) {
         return platform::ui::PaintIconImage(
             [](QPainter& painter, int side) { varnopts::res::PaintProgramIcon(painter, side); },
             size);
     },
     [](QPainter& painter, int size) { varnopts::res::PaintProgramIcon(painter, size); }},
};

bool Fail(const QString& what) {
    std::fprintf(stderr, "icon_renderer: %s\n", qPrintable(what));
    return false;
}

bool WritePng(const Program& program, const QString& theme, int size) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(theme).arg(size);
    if (!QDir().mkpath(folder)) {
        return Fail(QStringLiteral("cannot create %1").arg(folder));
    }
    const QString file = QStringLiteral("%1/%2.png").arg(folder, program.iconName);
    const QImage image = program.draw(size);
    if (image.size() != QSize(size, size) || !image.save(file, "PNG")) {
        return Fail(QStringLiteral("cannot write %1").arg(file));
    }
    return true;
}

bool WriteSvg(const Program& program, const QString& theme) {
    const QString folder = theme + QStringLiteral("/scalable/apps");
    if (!QDir().mkpath(folder)) {
        return Fail(QStringLiteral("cannot create %1").arg(folder));
    }
    // Rendered into memory first, so that a failed render leaves no file.
    QBuffer svg;
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(QSize(kScalableSize, kScalableSize));
    generator.setViewBox(QRect(0, 0, kScalableSize, kScalableSize));
    generator.setTitle(QString::fromLatin1(program.name));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return Fail(QStringLiteral("cannot render the scalable icon of %1").arg(program.name));
    }
    program.paint(painter, kScalableSize);
    painter.end();

    QFile file(QStringLiteral("%1/%2.svg").arg(folder, program.iconName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(svg.data()) != svg.data().size() || !file.flush()) {
        return Fail(QStringLiteral("cannot write %1").arg(file.fileName()));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Only images are drawn: no display is needed, even where there is one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "Usage: icon_renderer Loadwise|varnopts OUTPUT-FOLDER\n");
        return 2;
    }
    for (const Program& program : kPrograms) {
        if (arguments[1] != QString::fromLatin1(program.name)) {
            continue;
        }
        const QString theme = arguments[2] + QStringLiteral("/hicolor");
        for (const int size : kSizes) {
            if (!WritePng(program, theme, size)) {
                return 1;
            }
        }
        return WriteSvg(program, theme) ? 0 : 1;
    }
    std::fprintf(stderr, "icon_renderer: no program named %s\n", qPrintable(arguments[1]));
    return 2;
}
