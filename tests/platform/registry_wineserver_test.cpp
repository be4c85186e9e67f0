// Writing while a wineserver runs: the server is found by the lock it holds,
// and the value then goes through `$WINE reg add` (a stand-in script here),
// leaving system.reg alone.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/wineserver.h"
#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace {

using testsupport::ScopedEnvironment;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

// Plays a wineserver: a child process that holds the write lock on the lock
// file in the server folder that Debian's Wine names in <prefix>/wineserver.
class FakeServer {
  public:
    explicit FakeServer(const std::filesystem::path& prefixFolder) {
        char folder[] = "/tmp/lw-test-wine-XXXXXX";
        tmpFolder_ = mkdtemp(folder);
        std::ofstream(prefixFolder / "wineserver") << tmpFolder_.filename().string();
        struct stat status {};
        stat(prefixFolder.c_str(), &status);
        char name[64];
        std::snprintf(name, sizeof name, "server-%llx-%llx",
                      static_cast<unsigned long long>(status.st_dev),
                      static_cast<unsigned long long>(status.st_ino));
        std::filesystem::create_directories(tmpFolder_ / name);
        lockFile_ = tmpFolder_ / name / "lock";
        std::ofstream(lockFile_).flush();
    }
    ~FakeServer() {
        Stop();
        std::filesystem::remove_all(tmpFolder_);
    }
    void Start() {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_ = fork();
        if (pid_ == 0) {
            const int fd = open(lockFile_.c_str(), O_RDWR);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_len = 1;
            const char ok = fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0 ? 1 : 0;
            ssize_t ignored = write(ready[1], &ok, 1);
            (void)ignored;
            while (true) {
                pause();
            }
        }
        close(ready[1]);
        char ok = 0;
        ASSERT_EQ(read(ready[0], &ok, 1), 1);
        close(ready[0]);
        ASSERT_EQ(ok, 1);
    }
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    const std::filesystem::path& lockFile() const { return lockFile_; }

  private:
    std::filesystem::path tmpFolder_;
    std::filesystem::path lockFile_;
    pid_t pid_ = -1;
};

class RegistryWithServer : public testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(folder_.path() / "system.reg", std::ios::binary) << kRegistry;
        prefix_ = platform::LoadPrefix(folder_.path());
        // A wine that records its arguments and environment, and succeeds.
        wine_ = folder_.path() / "fake-wine";
        std::ofstream(wine_)
            << "#!/bin/sh\n{ printf 'WINEPREFIX=%s\\n' \"$WINEPREFIX\"; for a in \"$@\"; "
               "do printf 'ARG=%s\\n' \"$a\"; done; } > \""
            << (folder_.path() / "wine.log").string()
            << "\"\n[ \"$2\" = export ] && { printf '\\377\\376'; printf 'Windows Registry Editor "
               "Version 5.00\\r\\n\\r\\n[HKEY_LOCAL_MACHINE\\\\K]\\r\\n\"MouseRadiansPerPixel\"=\""
               "0.012345\"\\r\\n\\r\\n[HKEY_LOCAL_MACHINE\\\\K\\\\Sub]\\r\\n\"Sub\"=\"9\"\\r\\n' | "
               "iconv "
               "-t UTF-16LE; } > \"$(printf %s \"$4\" | sed 's/^....unix//; s|\\\\|/|g')\"\nexit "
               "0\n";
        chmod(wine_.c_str(), 0755);
    }
    std::string WineLog() const { return ReadAll(folder_.path() / "wine.log"); }

    static constexpr const char* kRegistry =
        "WINE REGISTRY Version 2\n#arch=win64\n\n"
        "[Software\\\\Wow6432Node\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] 1\n"
        "\"MouseRadiansPerPixel\"=\"0.008727\"\n";
    testsupport::TemporaryFolder folder_;
    platform::WinePrefix prefix_;
    std::filesystem::path wine_;
};

TEST_F(RegistryWithServer, FindsTheServerByItsLock) {
    FakeServer server(folder_.path());
    const auto locks = platform::WineserverLockFiles(folder_.path());
    ASSERT_GE(locks.size(), 2u);
    EXPECT_EQ(locks[0].parent_path().parent_path(), "/tmp/.wine-" + std::to_string(getuid()))
        << "upstream Wine's folder is looked at too";
    EXPECT_NE(std::find(locks.begin(), locks.end(), server.lockFile()), locks.end());

    EXPECT_FALSE(platform::IsWineserverRunning(folder_.path())) << "a lock file alone is no server";
    server.Start();
    EXPECT_TRUE(platform::IsWineserverRunning(folder_.path()));
    server.Stop();
    EXPECT_FALSE(platform::IsWineserverRunning(folder_.path()));
}

TEST_F(RegistryWithServer, WritesThroughWineRegWhileTheServerRuns) {
    FakeServer server(folder_.path());
    server.Start();
    ScopedEnvironment wine("WINE", wine_.string());
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.0123 \xe9"),
              platform::RegStatus::Success);
    EXPECT_EQ(WineLog(),
              "WINEPREFIX=" + folder_.path().string() +
                  "\nARG=reg\nARG=add\nARG=HKLM\\SOFTWARE\\Red Storm Entertainment\\Tom Clancy's "
                  "Rainbow Six\nARG=/v\nARG=MouseRadiansPerPixel\nARG=/t\nARG=REG_SZ\nARG=/d\n"
                  "ARG=0.0123 \xc3\xa9\nARG=/f\nARG=/reg:32\n");
    EXPECT_EQ(ReadAll(folder_.path() / "system.reg"), kRegistry)
        << "the server's file is left alone";
}

TEST_F(RegistryWithServer, ReadsWhatTheServerHolds) {
    FakeServer server(folder_.path());
    server.Start();
    ScopedEnvironment wine("WINE", wine_.string());
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::QueryValue, key),
              platform::RegStatus::Success);
    EXPECT_NE(WineLog().find("ARG=export\nARG=HKLM\\SOFTWARE\\Red Storm Entertainment\\Tom "
                             "Clancy's Rainbow Six\nARG=\\\\?\\unix\\"),
              std::string::npos)
        << WineLog();
    char buffer[16] = {};
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(platform::RegQueryValue(key, "MouseRadiansPerPixel", buffer, size),
              platform::RegStatus::Success);
    EXPECT_STREQ(buffer, "0.012345") << "not the file's 0.008727";
    // reg export's "no such key" is a key that does not exist.
    std::ofstream(wine_) << "#!/bin/sh\nexit 1\n";
    EXPECT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::QueryValue, key),
              platform::RegStatus::NotFound);
}

TEST_F(RegistryWithServer, FailsWhenWineIsMissingOrFails) {
    FakeServer server(folder_.path());
    server.Start();
    ScopedEnvironment exporting("WINE", wine_.string());
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    {
        ScopedEnvironment wine("WINE", (folder_.path() / "no-such-wine").string());
        const platform::RegResult result =
            platform::RegSetStringValue(key, "MouseRadiansPerPixel", "1");
        EXPECT_EQ(result, platform::RegStatus::Failed);
        EXPECT_NE(result.error().Describe().find("was not found"), std::string::npos);
    }
    std::ofstream(wine_) << "#!/bin/sh\nexit 1\n";
    ScopedEnvironment wine("WINE", wine_.string());
    EXPECT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "1"),
              platform::RegStatus::Failed);
    EXPECT_EQ(ReadAll(folder_.path() / "system.reg"), kRegistry);
}

TEST_F(RegistryWithServer, WritesTheFileOnceTheServerHasGone) {
    FakeServer server(folder_.path());
    server.Start();
    ScopedEnvironment exporting("WINE", wine_.string());
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kGameKey, platform::KeyAccess::SetValue, key),
              platform::RegStatus::Success);
    server.Stop();  // the path is chosen at each write, not at open
    ScopedEnvironment wine("WINE", (folder_.path() / "no-such-wine").string());
    ASSERT_EQ(platform::RegSetStringValue(key, "MouseRadiansPerPixel", "0.000249"),
              platform::RegStatus::Success);
    EXPECT_NE(ReadAll(folder_.path() / "system.reg").find("\"MouseRadiansPerPixel\"=\"0.000249\""),
              std::string::npos);
}

}  // namespace
