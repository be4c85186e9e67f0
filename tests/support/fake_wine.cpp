#include "support/fake_wine.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <ranges>
#include <regex>
#include <thread>
#include <utility>

#include "platform/wineserver.h"

namespace fs = std::filesystem;

namespace testsupport {
namespace {

void WriteScript(const fs::path& file, const std::string& body) {
    std::ofstream(file) << "#!/bin/sh\n" << body;
    fs::permissions(file, fs::perms::owner_all);
}

std::vector<std::vector<std::string>> LogLines(const fs::path& log) {
    std::vector<std::vector<std::string>> lines;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        static const std::regex separator("\x1f");
        lines.emplace_back(std::sregex_token_iterator(line.begin(), line.end(), separator, -1),
                           std::sregex_token_iterator());
    }
    return lines;
}

void WaitUntil(std::chrono::milliseconds limit, auto ready) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ready() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

FakeWine::FakeWine(const std::string& body, const fs::path& programFolder)
    : program_((programFolder.empty() ? folder_.path() : programFolder) / "wine"),
      path_("PATH", folder_.path().string() + ":" + std::getenv("PATH")),
      state_("XDG_STATE_HOME", folder_.path().string()) {
    if (programFolder.empty()) {
        wine_.emplace("WINE", program_.string());
    }
    fs::create_directories(program_.parent_path());
    const std::string log = "'" + (folder_.path() / "wine.log").string() + "'";
    // One printf per record, so records of programs running side by side never interleave.
    WriteScript(program(),
                "s=$(printf 'start\\037%s\\037%s\\037%s' \"$$\" \"$(pwd -P)\" \"$WINEPREFIX\")\n"
                "for a in \"$@\"; do s=$(printf '%s\\037%s' \"$s\" \"$a\"); done\n"
                "printf '%s\\n' \"$s\" >> " +
                    log + "\n(\n" + body + "\n)\nstatus=$?\n" +
                    "printf 'end\\037%s\\037%s\\n' \"$$\" \"$status\" >> " + log +
                    "\nexit $status\n");
    fs::create_symlink(program_, folder_.path() / "xdg-open");  // documents log as calls too
}

std::vector<WineCall> FakeWine::Calls() const {
    std::vector<WineCall> calls;
    const auto lines = LogLines(folder_.path() / "wine.log");
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const auto& fields = lines[line];
        const long pid = std::atol(fields.at(1).c_str());
        if (fields[0] == "start") {
            calls.push_back({pid, {fields.begin() + 4, fields.end()}, fields.at(2), fields.at(3)});
        }
        for (auto& call : calls) {
            if (fields[0] == "end" && call.pid == pid && !call.ended) {
                call.ended = true;
                call.endLine = line;
            }
        }
    }
    return calls;
}

std::vector<WineCall> FakeWine::WaitForCalls(std::size_t count, bool ended) const {
    std::vector<WineCall> calls;
    WaitUntil(std::chrono::seconds(20), [&] {
        calls = Calls();
        return std::ranges::count_if(calls, [&](auto& call) { return !ended || call.ended; }) >=
               static_cast<long>(count);
    });
    return calls;
}

std::string RegExportBody(const std::string& valueLine) {
    std::string quoted;  // inside the shell's single quotes
    for (char c : valueLine) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    // awk writes the blocks: the asked key's, then those of the keys below it
    // that system.reg names (in a win64 prefix, under Software\Wow6432Node).
    return R"(if [ "$2" = export ]; then
out=$(printf %s "$4" | sed 's/^....unix//; s|\\|/|g')
{ printf '\377\376'
  { printf 'Windows Registry Editor Version 5.00\r\n'
    KEY="${3#HKLM\\}" VALUE=')" +
           quoted + R"(' awk '
      function unescape(s,   out, i) {
        out = ""
        while ((i = index(s, "\\\\")) > 0) { out = out substr(s, 1, i); s = substr(s, i + 2) }
        return out s
      }
      function block(name) {
        printf "\r\n[HKEY_LOCAL_MACHINE\\%s]\r\n", name
        if (ENVIRON["VALUE"] != "") printf "%s\r\n", ENVIRON["VALUE"]
      }
      BEGIN { key = ENVIRON["KEY"]; block(key) }
      /^#arch=win64/ { win64 = 1 }
      /^\[/ {
        name = $0; sub(/^\[/, "", name); sub(/\][^]]*$/, "", name); name = unescape(name)
        if (win64) {
          if (tolower(substr(name, 1, 21)) != "software\\wow6432node\\") next
          name = "Software\\" substr(name, 22)
        }
        if (tolower(substr(name, 1, length(key) + 1)) == tolower(key) "\\")
          block(key substr(name, length(key) + 1))
      }' "$WINEPREFIX/system.reg"
  } | iconv -t UTF-16LE
} > "$out"
fi
)";
}

std::string PeProgram(bool bits32) {
    std::string bytes = "MZ" + std::string(0x3a, '\0') + std::string("\x40\0\0\0PE\0\0", 8);
    return bytes + (bits32 ? std::string("\x4c\x01", 2) : std::string("\x64\x86", 2)) +
           std::string(18, '\0');
}

FakeRunningServer::FakeRunningServer(const FakeInstallation& installation, Place place) {
    const fs::path prefix = installation.prefix().folder;
    fs::path lockFile;
    if (place == Place::FlatpakSandbox) {
        char folder[] = "/tmp/flatpak-io.github.r6tools.Test-XXXXXX";
        flatpakTmp_ = ::mkdtemp(folder) != nullptr ? folder : "";
        for (const fs::path& lock : platform::SandboxedWineserverLockFiles(prefix)) {
            lockFile = lock.string().starts_with(flatpakTmp_.string() + "/") ? lock : lockFile;
        }
        if (lockFile.empty()) {
            ADD_FAILURE() << "no lock in " << flatpakTmp_;
            return;
        }
    } else {
        std::ofstream(prefix / "wineserver") << (installation.root() / "server").string();
        lockFile = platform::WineserverLockFiles(prefix).at(1);
    }
    fs::create_directories(lockFile.parent_path());
    lock_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct flock range {};
    range.l_type = F_WRLCK;
    EXPECT_EQ(::fcntl(lock_, F_OFD_SETLK, &range), 0) << lockFile;
}

FakeRunningServer::~FakeRunningServer() {
    End();
    if (!flatpakTmp_.empty()) {
        std::error_code error;
        fs::remove_all(flatpakTmp_, error);
    }
}

void FakeRunningServer::End() {
    if (lock_ >= 0) {
        ::close(std::exchange(lock_, -1));
    }
}

}  // namespace testsupport
