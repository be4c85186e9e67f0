// Time from process start to Loadwise's window shown, on the sample
// installation and on one with 2,000 items per tab, against a program that
// shows an empty dialog, measured in the same run.
//
//   loadwise_startup_bench [RUNS]
//
// Runs offscreen when there is no display.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Median milliseconds from starting the program to its "shown" line.
double MedianStartup(const QString& program, const QStringList& arguments, const QString& prefix,
                     int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("WINEPREFIX", prefix);
        if (environment.value("DISPLAY").isEmpty() &&
            environment.value("WAYLAND_DISPLAY").isEmpty()) {
            environment.insert("QT_QPA_PLATFORM", "offscreen");
        }
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        while (!process.canReadLine() && process.state() != QProcess::NotRunning) {
            process.waitForReadyRead(10000);
        }
        const double elapsed = timer.nsecsElapsed() / 1e6;
        const QByteArray line = process.readLine().trimmed();
        process.waitForFinished(10000);
        if (line != "shown") {
            std::fprintf(stderr, "%s did not show its window: %s\n", qPrintable(program),
                         process.readAllStandardError().constData());
            std::exit(1);
        }
        times.push_back(elapsed);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool Run(const QString& command) {
    return std::system(command.toLocal8Bit().constData()) == 0;
}

// Replaces the sample's three item files and kit lists by ones of n items,
// each with its own data file.
void GrowKit(const QString& prefix, int n) {
    const QString game =
        prefix + "/drive_c/Program Files (x86)/Red Storm Entertainment/Rainbow Six";
    const QString equipment = game + "/data/kit/";
    const QString text = game + "/data/text/kit/English/";
    const char* items[] = {"primarymp.itm", "secondarymp.itm", "specialmp.itm"};
    const char* kits[] = {"primarymp.txt", "secondarymp.txt", "special.txt"};
    for (int tab = 0; tab < 3; ++tab) {
        std::ofstream item((equipment + items[tab]).toStdString(), std::ios::binary);
        std::ofstream kit((text + kits[tab]).toStdString(), std::ios::binary);
        item << "\"header\" \"x\" \"y\"\r\n";
        for (int i = 0; i < n; ++i) {
            const std::string key = "bench" + std::to_string(tab) + "_" + std::to_string(i);
            const char* mark = i % 3 == 0 ? "//" : "";
            item << mark << "\"" << key << ".txt\" \"" << key << "\" \"" << key << ".atr\"\r\n";
            kit << mark << "\"" << key << ".txt\"\r\n";
            std::ofstream data((equipment + QString::fromStdString(key) + ".atr").toStdString(),
                               std::ios::binary);
            data << (i % 50) << " // name\r\n";
            for (int line = 2; line <= 19; ++line) {
                data << (line == 4 ? "12" : "0.9") << " // figure\r\n";
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const QString here = QCoreApplication::applicationDirPath();
    const QString source = QStringLiteral(LW_SOURCE_DIR);

    QTemporaryDir work;
    const QString sample = work.path() + "/sample";
    const QString large = work.path() + "/large";
    const QString script = source + "/scripts/make-demo-prefix.sh";
    if (!Run("'" + script + "' '" + sample + "' >/dev/null") ||
        !Run("'" + script + "' '" + large + "' >/dev/null")) {
        std::fprintf(stderr, "cannot lay out the sample installation with %s\n",
                     qPrintable(script));
        return 1;
    }
    GrowKit(large, 2000);

    const QString probe = here + "/loadwise_startup_probe";
    const QString bare = here + "/loadwise_bare_dialog";
    const double bareTime = MedianStartup(bare, {}, sample, runs);
    const double sampleTime = MedianStartup(probe, {}, sample, runs);
    const double largeTime = MedianStartup(probe, {}, large, runs);

    std::printf("median of %d runs, process start to window shown\n", runs);
    std::printf("  bare QDialog program          %8.1f ms\n", bareTime);
    std::printf("  Loadwise, sample installation %8.1f ms  (%.2fx)\n", sampleTime,
                sampleTime / bareTime);
    std::printf("  Loadwise, 2,000 items per tab %8.1f ms  (%.2fx)\n", largeTime,
                largeTime / bareTime);
    return 0;
}
