#include "platform/wine_registry_command.h"

#include <stdlib.h>

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "platform/child_process.h"
#include "platform/codepage.h"
#include "platform/file_read.h"
#include "platform/process_environment.h"
#include "platform/wine_build.h"
#include "platform/wine_program.h"

namespace platform {
namespace {

// Runs the prefix's wine with reg and the arguments to its end. what names
// the command in errors ("wine reg add").
Result<ChildExit> RunWineReg(const WinePrefix& prefix, std::vector<std::string> arguments,
                             const std::string& what) {
    const std::string wine = WineProgram(prefix);
    const auto program = FindExecutable(wine);
    if (!program) {
        return Error{what, WineNotFound(wine)};
    }
    if (prefix.win64) {
        arguments.push_back("/reg:32");  // the 32-bit view our programs see
    }
    ChildCommand command;
    command.program = *program;
    command.arguments = {wine, "reg"};
    command.arguments.insert(command.arguments.end(), arguments.begin(), arguments.end());
    std::vector<std::string> variables = WineVariables(prefix);
    variables.push_back("WINEDEBUG=-all");
    command.environment = EnvironmentWith(variables);

    Result<ChildExit> ran = RunToEnd(command, kWineRegTimeLimit);
    if (!ran) {
        return Error{what, "could not start " + ran.error().Describe(), ran.error().code};
    }
    if (ran->timedOut) {
        return Error{what,
                     "wine did not finish within " + std::to_string(kWineRegTimeLimit.count()) +
                         " seconds and was stopped",
                     ETIMEDOUT};
    }
    return ran;
}

// Why reg ended with a status other than 0, with the last line it printed.
std::string RegFailure(const ChildExit& ran, const std::string& action) {
    std::string why =
        "wine's reg could not " + action + " (exit status " + std::to_string(ran.exitCode) + ")";
    if (SaysWine32IsMissing(ran.output)) {
        why += "; Wine cannot run 32-bit programs: install wine32";
    } else if (const std::string last = LastLines(ran.output, 1); !last.empty()) {
        why += ": " + last;
    }
    return why;
}

// reg ends with status 1 for a missing key, and for every other failure too
// (an invalid key name, a file it cannot write, a wine that cannot run it):
// only its message tells them apart.
bool SaysNoSuchKey(const std::string& output) {
    return output.find("reg: Unable to find the specified registry key") != std::string::npos;
}

}  // namespace

Status WineRegAddString(const WinePrefix& prefix, std::string_view key, std::string_view name,
                        std::string_view text) {
    const Result<ChildExit> ran =
        RunWineReg(prefix,
                   {"add", "HKLM\\" + Cp1252ToUtf8(key), "/v", Cp1252ToUtf8(name), "/t", "REG_SZ",
                    "/d", Cp1252ToUtf8(text), "/f"},
                   "wine reg add");
    if (!ran) {
        return ran.error();
    }
    if (ran->exitCode != 0) {
        return Error{"wine reg add", RegFailure(*ran, "set the value")};
    }
    return Status::Ok();
}

Result<std::optional<std::string>> WineRegExport(const WinePrefix& prefix, std::string_view key) {
    std::string folder = TemporaryFilesFolder() + "/wine-reg-export-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        return SystemError(folder, errno);
    }
    const std::filesystem::path file = std::filesystem::path(folder) / "key.reg";
    // reg takes a Windows path; \\?\unix\ names a Unix path whatever drives
    // the prefix has.
    std::string windowsFile = "\\\\?\\unix" + file.string();
    std::replace(windowsFile.begin(), windowsFile.end(), '/', '\\');
    const Result<ChildExit> ran = RunWineReg(
        prefix, {"export", "HKLM\\" + Cp1252ToUtf8(key), windowsFile, "/y"}, "wine reg export");
    Result<std::string> bytes = ReadWholeFile(file);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    if (!ran) {
        return ran.error();
    }
    if (ran->exitCode == 1 && SaysNoSuchKey(ran->output)) {
        return std::optional<std::string>();
    }
    if (ran->exitCode != 0 || !bytes || bytes->empty()) {
        return Error{"wine reg export", RegFailure(*ran, "read the key")};
    }
    return std::optional<std::string>(std::move(bytes).value());
}

}  // namespace platform
