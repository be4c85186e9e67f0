// How long the options window's thread goes without serving its events while
// a child program runs: the sensitivity Save through a running wineserver
// whose `wine reg add` takes seconds (a stand-in wine that sleeps), and an
// install's six packages of half a second each. A 1 ms timer on the window's
// thread records the gaps between its ticks; the longest gap is the longest
// time the window could not paint.

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "platform/ui/busy_window.h"
#include "platform/wine_prefix.h"
#include "platform/wineserver.h"
#include "varnopts/settings/package_runner.h"
#include "varnopts/window/varn_options_dlg.h"

namespace fs = std::filesystem;

namespace {

struct Gaps {
    double total = 0;
    double longest = 0;
    double median = 0;
};

// Runs work on the window's thread from its event loop while a 1 ms timer
// notes the time between its ticks.
Gaps Measure(const std::function<void()>& work) {
    std::vector<double> gaps;
    QElapsedTimer clock;
    qint64 last = -1;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) {
            gaps.push_back((now - last) / 1e6);
        }
        last = now;
    });
    Gaps result;
    QTimer::singleShot(0, [&] {
        clock.start();
        ticker.start();
        work();
        ticker.stop();
        result.total = clock.nsecsElapsed() / 1e9;
        QApplication::quit();
    });
    QApplication::exec();
    if (!gaps.empty()) {
        std::sort(gaps.begin(), gaps.end());
        result.longest = gaps.back();
        result.median = gaps[gaps.size() / 2];
    }
    return result;
}

void WriteScript(const fs::path& file, const char* body) {
    std::ofstream(file) << "#!/bin/sh\n" << body << '\n';
    fs::permissions(file, fs::perms::owner_all);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    char pattern[] = "/tmp/child-wait-bench-XXXXXX";
    const fs::path folder = mkdtemp(pattern);
    const fs::path prefixFolder = folder / "prefix";
    fs::create_directories(prefixFolder / "drive_c" / "VARN");
    fs::create_directories(prefixFolder / "dosdevices");
    fs::create_symlink("../drive_c", prefixFolder / "dosdevices" / "c:");
    std::ofstream(prefixFolder / "system.reg")
        << "WINE REGISTRY Version 2\n#arch=win32\n\n"
           "[Software\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] 1\n"
           "\"MouseRadiansPerPixel\"=\"0.008727\"\n";
    // A running wineserver as the registry sees it: the lock held on the lock
    // file that the prefix's "wineserver" file points to.
    std::ofstream(prefixFolder / "wineserver") << (folder / "server").string();
    const fs::path lockFile = platform::WineserverLockFiles(prefixFolder).at(1);
    fs::create_directories(lockFile.parent_path());
    const int lock = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct flock range {};
    range.l_type = F_WRLCK;
    if (lock < 0 || fcntl(lock, F_OFD_SETLK, &range) != 0) {
        std::perror("lock");
        return 1;
    }
    const platform::WinePrefix prefix = platform::LoadPrefix(prefixFolder);

    CVarnOptionsDlg window(prefix);
    window.show();

    WriteScript(folder / "slow-wine", "sleep 3");
    setenv("WINE", (folder / "slow-wine").c_str(), 1);
    const Gaps save = Measure([&] { window.OnSave(); });
    std::printf(
        "Save through `wine reg add` taking 3 s: %.2f s in all; the window's thread was "
        "blocked at most %.1f ms at a time (median gap between 1 ms ticks %.1f ms)\n",
        save.total, save.longest, save.median);

    WriteScript(folder / "package-wine", "sleep 0.5");
    setenv("WINE", (folder / "package-wine").c_str(), 1);
    const std::vector<std::string> plan = {"A.EXE", "B.EXE", "C.EXE", "D.EXE", "E.EXE", "F.EXE"};
    for (const auto& name : plan) {
        std::ofstream(prefixFolder / "drive_c" / "VARN" / name) << "MZ";
    }
    const Gaps packages = Measure([&] {
        platform::ui::BusyWindow busy(&window);
        (void)varnopts::RunPackages(prefix, "C:\\VARN", "C:\\Game\\", plan,
                                    [&](std::string_view name, std::size_t, std::size_t) {
                                        busy.ShowStatus(QString::fromStdString(std::string(name)));
                                    });
    });
    std::printf(
        "Six packages of 0.5 s each: %.2f s in all; the window's thread was blocked at "
        "most %.1f ms at a time (median gap %.1f ms)\n",
        packages.total, packages.longest, packages.median);
    close(lock);
    fs::remove_all(folder);
    return 0;
}
