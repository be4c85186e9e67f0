// The options window's install action against a real Wine prefix: the plan's
// packages are started through wine and each sees "/auto " and the game
// folder, unquoted although it holds blanks.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "varnopts/window/varn_options_dlg.h"
#include "wine_test_prefix.h"

namespace {

namespace fs = std::filesystem;

constexpr char kGameFolder[] = "C:\\GOG Games\\Rainbow Six\\";
constexpr char kModFolder[] = "C:\\VARN";

// The window needs an application object; this program has none of its own.
void EnsureApplication() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "wine_tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

std::vector<std::string> ReadLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> WaitForLines(const fs::path& file, std::size_t count, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<std::string> lines = ReadLines(file);
    while (lines.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        lines = ReadLines(file);
    }
    return lines;
}

TEST(VarnoptsInstallWine, PlanPackagesStartWithAutoAndTheGameFolder) {
    winetest::WineTestPrefix wine;
    if (!wine.available()) {
        GTEST_SKIP() << wine.whyUnavailable();
    }
    if (std::string(LW_STANDIN_PACKAGE).empty()) {
        GTEST_SKIP() << "the stand-in package was not built (mingw-w64 missing)";
    }
    EnsureApplication();

    const std::string gameKey = "HKLM\\Software\\Red Storm Entertainment\\Tom Clancy's Rainbow Six";
    const std::map<std::string, std::string> values = testsupport::DefaultGameValues(kGameFolder);
    for (const auto& [name, value] : values) {
        ASSERT_EQ(wine.Run({"wine", "reg", "add", gameKey, "/v", name, "/t", "REG_SZ", "/d", value,
                            "/f", "/reg:32"})
                      .exitCode,
                  0)
            << name;
    }
    ASSERT_EQ(wine.Run({"wine", "reg", "add",
                        "HKLM\\Software\\Red Storm Entertainment\\Tom Clancy's Rainbow Six: "
                        "Eagle Watch",
                        "/f", "/reg:32"})
                  .exitCode,
              0);
    ASSERT_EQ(wine.Run({"wine", "reg", "add", "HKLM\\Software\\TORV\\VARN MOD 2.0", "/v",
                        "InstallPath", "/t", "REG_SZ", "/d", kModFolder, "/f", "/reg:32"})
                  .exitCode,
              0);
    wine.StopServer();  // the registry is saved to system.reg

    fs::path log;
    for (const char* package :
         {"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE", "VARN_NO_EW.EXE", "VARN_TN_RAINBOW.EXE",
          "VARN_TN_ASSAULT.EXE", "VARN_TN_RECON.EXE", "VARN_TN_HEAVY.EXE", "VARN_TN_TANGO.EXE",
          "VARN_TN_MULTI.EXE", "VARN_MP_DEFAULT.EXE", "VARN_MP_TANGO.EXE", "VARN_MP_PISTOLS.EXE",
          "VARN_MP_9MM.EXE", "VARN_HIGH_SOUND.EXE", "VARN_LOW_SOUND.EXE", "VARN_GOCODES.EXE",
          "VARN_ORG_GO.EXE", "VARN_UNINSTALL.EXE"}) {
        log = wine.InstallStandInPackage(std::string(kModFolder) + "\\" + package);
    }
    fs::create_directories(wine.folder() / "drive_c" / "GOG Games" / "Rainbow Six" / "data");

    testsupport::MessageRecorder messages;
    {
        CVarnOptionsDlg window(wine.prefix());
        ASSERT_TRUE(window.OnInitDialog());
        ASSERT_EQ(window.GameFolder(), kGameFolder);
        window.OnInstall();
    }
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"The installation of VARN is finished: all 6 packages ran "
                                       "and ended without error."});

    const std::vector<std::string> lines = WaitForLines(log, 6, 180);
    // Their order is checked by packages_in_order_wine_test.cpp.
    std::multiset<std::string> started;
    for (const std::string& line : lines) {
        const std::string ending = " /auto C:\\GOG Games\\Rainbow Six\\\tC:\\VARN\r";
        ASSERT_GE(line.size(), ending.size()) << line;
        EXPECT_EQ(line.substr(line.size() - ending.size()), ending) << line;
        const std::size_t name = line.find("VARN_");
        const std::size_t end = line.find(".EXE", name);
        ASSERT_NE(end, std::string::npos) << line;
        started.insert(line.substr(name, end + 4 - name));
    }
    EXPECT_EQ(started, (std::multiset<std::string>{"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE",
                                                   "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                                   "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"}));
    wine.StopServer();
}

}  // namespace
