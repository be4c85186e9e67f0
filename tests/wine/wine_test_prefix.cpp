#include "wine_test_prefix.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace winetest {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

const WineTestPrefix& WineTestPrefix::Shared() {
    ::setenv("WINEDEBUG", "-all", 1);  // for the wine that the programs under test start
    static const WineTestPrefix shared;
    return shared;
}

WineTestPrefix::WineTestPrefix() {
    std::string folder = (fs::temp_directory_path() / "lw-wine-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        why_ = "cannot create a temporary folder";
        return;
    }
    folder_ = folder;
    const bool booted = Run({"wineboot", "-i"}).exitCode == 0;
    StopServer();  // the registry files are written as it ends
    if (!booted || !fs::exists(folder_ / "system.reg")) {
        why_ = "wine is not installed, or wineboot -i failed";
    }
}

WineTestPrefix::~WineTestPrefix() {
    StopServer();
    // Debian's Wine names the server folder it made in /tmp in <prefix>/wineserver.
    std::ifstream in(folder_ / "wineserver");
    const std::string server((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    std::error_code error;
    if (server.starts_with("wine-") && server.find('/') == std::string::npos) {
        fs::remove_all(fs::path("/tmp") / server, error);
    }
    fs::remove_all(folder_, error);
}

// Output goes to a file, not a pipe: wine leaves its server running, and it
// would hold a pipe open long after the program ended.
RunResult WineTestPrefix::Run(const std::vector<std::string>& arguments) const {
    const fs::path output = folder_.string() + ".out";
    std::string command = "WINEPREFIX=" + Quoted(folder_.string()) + " WINEDEBUG=-all";
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    const int status =
        std::system((command + " </dev/null 2>/dev/null >" + Quoted(output.string())).c_str());
    std::ifstream in(output, std::ios::binary);
    RunResult result{
        WIFEXITED(status) ? WEXITSTATUS(status) : -1,
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
    fs::remove(output);
    return result;
}

void WineTestPrefix::StopServer() const {
    Run({"wineserver", "-k"});
    Run({"wineserver", "-w"});
}

fs::path WineTestPrefix::InstallStandInPackage(const std::string& windowsPath) const {
    const fs::path standIn = LW_STANDIN_PACKAGE;
    std::string relative = windowsPath.substr(3);  // "C:\a\b.exe" -> drive_c/a/b.exe
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const fs::path target = folder_ / "drive_c" / relative;
    if (standIn.empty()) {
        return {};
    }
    fs::create_directories(target.parent_path());
    fs::copy_file(standIn, target, fs::copy_options::overwrite_existing);
    return target;
}

}  // namespace winetest
