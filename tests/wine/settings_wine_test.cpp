// The options program's registry writer and package runner against real Wine.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/message.h"
#include "platform/wine_prefix.h"
#include "support/message_recorder.h"
#include "varnopts/settings/game_value_writer.h"
#include "varnopts/settings/mouse_sensitivity.h"
#include "varnopts/settings/package_runner.h"

namespace varnopts {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs a shell command with the prefix's environment and returns its output.
std::string RunInPrefix(const fs::path& prefix, const std::string& command, int* status = nullptr) {
    const std::string line = "WINEPREFIX=" + Quoted(prefix.string()) +
                             " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' " + command +
                             " 2>/dev/null";
    std::string output;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    const int result = ::pclose(pipe);
    if (status != nullptr) {
        *status = result;
    }
    return output;
}

bool HaveWine() {
    return std::system(
               "command -v wine >/dev/null 2>&1 && command -v wineserver >/dev/null 2>&1") == 0;
}

const char* const kGameKeyForReg =
    "\"HKLM\\Software\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\"";

// A win64 prefix booted once and kept in the work folder with the game's key
// in it, handed to each test as a copy: the registry files copied, the rest
// hard-linked (booting takes far longer than a test).
class WinePrefixCopy {
  public:
    WinePrefixCopy() {
        const fs::path work = LW_WINE_WORK_DIR;
        fs::create_directories(work);
        const fs::path booted = BootedPrefix(work);
        if (booted.empty()) {
            return;
        }
        std::string pattern = (work / "settings-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        folder_ = fs::path(pattern) / "prefix";
        fs::create_directories(folder_);
        std::error_code error;
        for (const char* tree : {"drive_c", "dosdevices"}) {
            fs::copy(booted / tree, folder_ / tree,
                     fs::copy_options::recursive | fs::copy_options::create_hard_links |
                         fs::copy_options::copy_symlinks,
                     error);
        }
        for (const char* file : {"system.reg", "user.reg", "userdef.reg", ".update-timestamp"}) {
            fs::copy_file(booted / file, folder_ / file, error);
        }
        if (error) {
            ADD_FAILURE() << "cannot copy the booted prefix: " << error.message();
            folder_.clear();
        }
    }
    ~WinePrefixCopy() {
        if (!folder_.empty()) {
            RunInPrefix(folder_, "wineserver -k");
            std::error_code error;
            fs::remove_all(folder_.parent_path(), error);
        }
    }
    WinePrefixCopy(const WinePrefixCopy&) = delete;
    WinePrefixCopy& operator=(const WinePrefixCopy&) = delete;

    bool ok() const { return !folder_.empty(); }
    const fs::path& folder() const { return folder_; }
    platform::WinePrefix prefix() const { return platform::LoadPrefix(folder_); }

  private:
    // Boots the shared prefix unless it is there; other test processes may
    // want it at the same time, so one boots and the rest wait on the lock.
    static fs::path BootedPrefix(const fs::path& work) {
        const fs::path booted = work / "settings-booted";
        const int lock = ::open((work / "settings-booted.lock").c_str(), O_CREAT | O_RDWR, 0644);
        if (lock < 0 || ::flock(lock, LOCK_EX) != 0) {
            return {};
        }
        if (!fs::exists(booted / "system.reg")) {
            const fs::path booting = work / "settings-booting";
            std::error_code error;
            fs::remove_all(booting, error);
            RunInPrefix(booting, "wine wineboot -i");
            RunInPrefix(booting, std::string("wine reg add ") + kGameKeyForReg +
                                     " /v MouseRadiansPerPixel /t REG_SZ /d 0.001000 /f /reg:32");
            RunInPrefix(booting, "wineserver -w");
            fs::remove(booting / "wineserver", error);  // names this boot's server folder
            if (fs::exists(booting / "system.reg")) {
                fs::rename(booting, booted, error);
            }
        }
        ::close(lock);
        return fs::exists(booted / "system.reg") ? booted : fs::path();
    }

    fs::path folder_;
};

std::string QuerySensitivity(const fs::path& prefix) {
    return RunInPrefix(prefix, std::string("wine reg query ") + kGameKeyForReg +
                                   " /v MouseRadiansPerPixel /reg:32");
}

class SettingsWineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveWine()) {
            GTEST_SKIP() << "wine is not installed";
        }
        ::setenv("WINEDEBUG", "-all", 1);
    }
};

TEST_F(SettingsWineTest, WrittenSensitivityIsWhatWineReads) {
    WinePrefixCopy copy;
    ASSERT_TRUE(copy.ok());
    testsupport::MessageRecorder recorder;

    // No wineserver: the registry file is edited.
    RunInPrefix(copy.folder(), "wineserver -w");
    EXPECT_EQ(WriteGameValue(copy.prefix(), kMouseRadiansPerPixel,
                             PositionToSensitivity(kDefaultSensitivityPosition)),
              0);
    const std::string edited = QuerySensitivity(copy.folder());
    EXPECT_NE(edited.find("REG_SZ    0.008727"), std::string::npos) << edited;

    // With a wineserver running, the value goes through it.
    RunInPrefix(copy.folder(), "wineserver -p");
    EXPECT_EQ(WriteGameValue(copy.prefix(), kMouseRadiansPerPixel, PositionToSensitivity(12345)),
              0);
    const std::string served = QuerySensitivity(copy.folder());
    EXPECT_NE(served.find("REG_SZ    0.012345"), std::string::npos) << served;
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(SettingsWineTest, PackageSeesAutoAndTheGameFolderInTheModificationFolder) {
    const std::string standIn = LW_STANDIN_PACKAGE;
    if (standIn.empty()) {
        GTEST_SKIP() << "no stand-in package (mingw-w64 missing)";
    }
    WinePrefixCopy copy;
    ASSERT_TRUE(copy.ok());
    const fs::path modFolder = copy.folder() / "drive_c" / "VARN MOD";
    fs::create_directories(modFolder);
    fs::copy_file(standIn, modFolder / "VARN_FULL.EXE");
    testsupport::MessageRecorder recorder;

    RunPackage(copy.prefix(), "C:\\VARN MOD", "C:\\Games\\Rainbow Six\\", "VARN_FULL.EXE");
    EXPECT_TRUE(recorder.messages().empty());

    const fs::path log = modFolder / "standin_package.log";
    for (int i = 0; i < 1200 && !fs::exists(log); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::ifstream in(log, std::ios::binary);
    const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(line.empty()) << "the package did not run";
    EXPECT_NE(line.find("VARN_FULL.EXE"), std::string::npos) << line;
    const std::string ending = " /auto C:\\Games\\Rainbow Six\\\tC:\\VARN MOD\r\n";
    ASSERT_GE(line.size(), ending.size());
    EXPECT_EQ(line.substr(line.size() - ending.size()), ending) << line;
}

}  // namespace
}  // namespace varnopts
