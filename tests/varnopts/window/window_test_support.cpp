#include "window_test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace varnwindowtest {
namespace {

constexpr int kStartDeadlineMs = 20000;

void WriteScript(const fs::path& file, const std::string& body) {
    std::ofstream out(file);
    out << "#!/bin/sh\n" << body;
    out.close();
    fs::permissions(file, fs::perms::owner_all);
}

std::vector<std::string> ReadLines(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

StartRecorder::StartRecorder() {
    const fs::path log = folder_.path() / "starts.log";
    // One printf per start: an appended line this short is written at once.
    WriteScript(folder_.path() / "wine",
                "program=\"$1\"; shift\n"
                "printf '%s\\t%s\\t%s\\t%s\\t%s\\n' \"$$\" \"$program\" \"$*\" \"$(pwd -P)\" "
                "\"$WINEPREFIX\" >> '" +
                    log.string() + "'\n");
    WriteScript(folder_.path() / "xdg-open",
                "printf '%s\\n' \"$1\" >> '" + (folder_.path() / "opened.log").string() + "'\n");

    if (const char* wine = getenv("WINE")) {
        hadWine_ = true;
        oldWine_ = wine;
    }
    setenv("WINE", (folder_.path() / "wine").c_str(), 1);
    const char* path = getenv("PATH");
    oldPath_ = path != nullptr ? path : "";
    setenv("PATH", (folder_.path().string() + ":" + oldPath_).c_str(), 1);
}

StartRecorder::~StartRecorder() {
    if (hadWine_) {
        setenv("WINE", oldWine_.c_str(), 1);
    } else {
        unsetenv("WINE");
    }
    setenv("PATH", oldPath_.c_str(), 1);
}

std::vector<RecordedStart> StartRecorder::Read() const {
    std::vector<RecordedStart> starts;
    for (const std::string& line : ReadLines(folder_.path() / "starts.log")) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        for (std::string field; std::getline(stream, field, '\t');) {
            fields.push_back(field);
        }
        fields.resize(5);
        starts.push_back(
            {std::atol(fields[0].c_str()), fields[1], fields[2], fields[3], fields[4]});
    }
    // Each start is confirmed before the next one begins, so process ids
    // rise in start order even when the logging overtakes.
    std::sort(starts.begin(), starts.end(),
              [](const RecordedStart& a, const RecordedStart& b) { return a.pid < b.pid; });
    return starts;
}

std::vector<RecordedStart> StartRecorder::WaitForStarts(std::size_t count) const {
    QElapsedTimer clock;
    clock.start();
    std::vector<RecordedStart> starts = Read();
    while (starts.size() < count && clock.elapsed() < kStartDeadlineMs) {
        QTest::qWait(20);
        starts = Read();
    }
    return starts;
}

std::vector<RecordedStart> StartRecorder::StartsSoFar() const {
    QTest::qWait(300);
    return Read();
}

std::vector<std::string> StartRecorder::OpenedDocuments(std::size_t expected) const {
    if (expected == 0) {
        QTest::qWait(300);
    }
    QElapsedTimer clock;
    clock.start();
    std::vector<std::string> opened = ReadLines(folder_.path() / "opened.log");
    while (opened.size() < expected && clock.elapsed() < kStartDeadlineMs) {
        QTest::qWait(20);
        opened = ReadLines(folder_.path() / "opened.log");
    }
    return opened;
}

testsupport::InstallationOptions Options(
    bool eagleWatch, std::map<std::string, std::optional<std::string>> gameValues) {
    testsupport::InstallationOptions options;
    options.eagleWatch = eagleWatch;
    options.gameValues = std::move(gameValues);
    return options;
}

testsupport::InstallationOptions WithoutGameKey() {
    testsupport::InstallationOptions options;
    options.gameKey = false;
    return options;
}

testsupport::InstallationOptions WithoutModKey() {
    testsupport::InstallationOptions options;
    options.modKey = false;
    return options;
}

void WriteGameExecutable(testsupport::FakeInstallation& installation, std::uintmax_t length) {
    const fs::path file =
        installation.WriteFile(installation.GameValue("InstallationPath") + "RainbowSix.exe", "");
    fs::resize_file(file, length);
}

const std::vector<std::string>& AllPackageNames() {
    static const std::vector<std::string> kNames = {
        "VARN_FULL.EXE",       "VARN_FULL_INDEX.EXE", "VARN_NO_EW.EXE",     "VARN_TN_RAINBOW.EXE",
        "VARN_TN_ASSAULT.EXE", "VARN_TN_RECON.EXE",   "VARN_TN_HEAVY.EXE",  "VARN_TN_TANGO.EXE",
        "VARN_TN_MULTI.EXE",   "VARN_MP_DEFAULT.EXE", "VARN_MP_TANGO.EXE",  "VARN_MP_PISTOLS.EXE",
        "VARN_MP_9MM.EXE",     "VARN_HIGH_SOUND.EXE", "VARN_LOW_SOUND.EXE", "VARN_GOCODES.EXE",
        "VARN_ORG_GO.EXE",     "VARN_UNINSTALL.EXE"};
    return kNames;
}

void WritePackages(testsupport::FakeInstallation& installation,
                   const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        installation.WriteFile("C:\\VARN\\" + name, "MZ");
    }
}

std::unique_ptr<CVarnOptionsDlg> OpenWindow(const testsupport::FakeInstallation& installation) {
    auto window = std::make_unique<CVarnOptionsDlg>(installation.prefix());
    EXPECT_TRUE(window->OnInitDialog());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

}  // namespace varnwindowtest
