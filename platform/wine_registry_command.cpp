#include "platform/wine_registry_command.h"

#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/codepage.h"
#include "platform/process_environment.h"
#include "platform/wine_build.h"
#include "platform/wine_program.h"

namespace platform {

Status WineRegAddString(const WinePrefix& prefix, std::string_view key, std::string_view name,
                        std::string_view text) {
    const std::string wine = WineProgram(prefix);
    const auto program = FindExecutable(wine);
    if (!program) {
        return Error{"wine reg add", WineNotFound(wine)};
    }
    ChildCommand command;
    command.program = *program;
    command.arguments = {
        wine, "reg",    "add", "HKLM\\" + Cp1252ToUtf8(key), "/v", Cp1252ToUtf8(name),
        "/t", "REG_SZ", "/d",  Cp1252ToUtf8(text),           "/f"};
    if (prefix.win64) {
        command.arguments.push_back("/reg:32");
    }
    std::vector<std::string> variables = WineVariables(prefix);
    variables.push_back("WINEDEBUG=-all");
    command.environment = EnvironmentWith(variables);

    const Result<ChildExit> ran = RunToEnd(command, kWineRegTimeLimit);
    if (!ran) {
        return Error{"wine reg add", "could not start " + ran.error().Describe()};
    }
    if (ran->timedOut) {
        return Error{"wine reg add", "wine did not finish within " +
                                         std::to_string(kWineRegTimeLimit.count()) +
                                         " seconds and was stopped"};
    }
    if (ran->exitCode != 0) {
        std::string why = "wine's reg could not set the value (exit status " +
                          std::to_string(ran->exitCode) + ")";
        if (SaysWine32IsMissing(ran->output)) {
            why += "; Wine cannot run 32-bit programs: install wine32";
        } else if (const std::string last = LastLines(ran->output, 1); !last.empty()) {
            why += ": " + last;
        }
        return Error{"wine reg add", why};
    }
    return Status::Ok();
}

}  // namespace platform
