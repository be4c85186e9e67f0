#include "wine_test_prefix.h"

#include <stdlib.h>

#include <algorithm>

#include "platform/child_process.h"
#include "platform/file_read.h"
#include "platform/process_environment.h"

namespace winetest {

namespace fs = std::filesystem;

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
    const auto read = platform::ReadWholeFile(folder_ / "wineserver");
    const std::string server = read ? *read : "";
    std::error_code error;
    if (server.starts_with("wine-") && server.find('/') == std::string::npos) {
        fs::remove_all(fs::path("/tmp") / server, error);
    }
    fs::remove_all(folder_, error);
}

// Only the program is waited for, not the wineserver it leaves running.
RunResult WineTestPrefix::Run(const std::vector<std::string>& arguments) const {
    const platform::ChildCommand command{
        platform::FindExecutable(arguments[0]).value_or(arguments[0]),
        arguments,
        platform::EnvironmentWith({"WINEPREFIX=" + folder_.string(), "WINEDEBUG=-all"}),
        {}};
    const auto ran = platform::RunToEnd(command, std::chrono::minutes(5));
    return {ran && !ran->timedOut ? ran->exitCode : -1, ran ? ran->output : ""};
}

void WineTestPrefix::StopServer() const {
    Run({"wineserver", "-k"});
    Run({"wineserver", "-w"});
}

fs::path WineTestPrefix::InstallStandInPackage(const std::string& windowsPath) const {
    std::string relative = windowsPath.substr(3);  // "C:\a\b.exe" -> drive_c/a/b.exe
    std::replace(relative.begin(), relative.end(), '\\', '/');
    fs::create_directories((folder_ / "drive_c" / relative).parent_path());
    fs::copy_file(LW_STANDIN_PACKAGE, folder_ / "drive_c" / relative,
                  fs::copy_options::overwrite_existing);
    return folder_ / "drive_c" / relative;
}

}  // namespace winetest
