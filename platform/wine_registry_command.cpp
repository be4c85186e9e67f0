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

// The prefix's wine with reg and the arguments. what names the command in
// errors ("wine reg add").
Result<ChildCommand> WineRegCommand(const WinePrefix& prefix, std::vector<std::string> arguments,
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
    return command;
}

// How reg ran, as an error when it could not start or did not finish.
Result<ChildExit> Finished(Result<ChildExit> ran, const std::string& what) {
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

// Runs the prefix's wine with reg and the arguments to its end.
Result<ChildExit> RunWineReg(const WinePrefix& prefix, std::vector<std::string> arguments,
                             const std::string& what) {
    const Result<ChildCommand> command = WineRegCommand(prefix, std::move(arguments), what);
    if (!command) {
        return command.error();
    }
    return Finished(RunToEnd(*command, kWineRegTimeLimit), what);
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

std::vector<Result<std::optional<std::string>>> WineRegExports(
    const WinePrefix& prefix, const std::vector<std::string>& keys) {
    const std::string what = "wine reg export";
    std::vector<Result<std::optional<std::string>>> results;
    std::vector<std::string> folders;
    std::vector<ChildCommand> commands;
    std::vector<std::size_t> run;  // the keys whose command runs, in commands' order
    for (std::size_t i = 0; i < keys.size(); ++i) {
        results.push_back(std::optional<std::string>());
        std::string folder = TemporaryFilesFolder() + "/wine-reg-export-XXXXXX";
        if (::mkdtemp(folder.data()) == nullptr) {
            results[i] = SystemError(folder, errno);
            continue;
        }
        // reg takes a Windows path; \\?\unix\ names a Unix path whatever
        // drives the prefix has.
        std::string windowsFile = "\\\\?\\unix" + folder + "/key.reg";
        std::replace(windowsFile.begin(), windowsFile.end(), '/', '\\');
        Result<ChildCommand> command = WineRegCommand(
            prefix, {"export", "HKLM\\" + Cp1252ToUtf8(keys[i]), windowsFile, "/y"}, what);
        if (!command) {
            results[i] = command.error();
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
            continue;
        }
        folders.push_back(std::move(folder));
        commands.push_back(std::move(command).value());
        run.push_back(i);
    }
    std::vector<Result<ChildExit>> ran = RunAllToEnd(commands, kWineRegTimeLimit);
    for (std::size_t n = 0; n < run.size(); ++n) {
        Result<std::string> bytes = ReadWholeFile(std::filesystem::path(folders[n]) / "key.reg");
        std::error_code ignored;
        std::filesystem::remove_all(folders[n], ignored);
        const Result<ChildExit> finished = Finished(std::move(ran[n]), what);
        Result<std::optional<std::string>>& result = results[run[n]];
        if (!finished) {
            result = finished.error();
        } else if (finished->exitCode == 1 && SaysNoSuchKey(finished->output)) {
            result = std::optional<std::string>();
        } else if (finished->exitCode != 0 || !bytes || bytes->empty()) {
            result = Error{what, RegFailure(*finished, "read the key")};
        } else {
            result = std::optional<std::string>(std::move(bytes).value());
        }
    }
    return results;
}

}  // namespace platform
