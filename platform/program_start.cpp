#include "platform/program_start.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/windows_path.h"
#include "platform/wine_program.h"

namespace platform {
namespace {

std::string LowerExtension(std::string_view windowsFile) {
    const std::size_t separator = windowsFile.find_last_of("\\/");
    const std::string_view name =
        separator == std::string_view::npos ? windowsFile : windowsFile.substr(separator + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    std::string extension(name.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// Wine builds the program's command line from its arguments and quotes any
// argument that holds a blank; handing over the parameters word by word
// gives back "<file>" <parameters> exactly, as long as the parameters hold
// no double quote, tab or run of several blanks (no game folder does).
std::vector<std::string> SplitAtBlanks(std::string_view parameters) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < parameters.size()) {
        std::size_t end = parameters.find(' ', start);
        if (end == std::string_view::npos) {
            end = parameters.size();
        }
        if (end > start) {
            words.push_back(Cp1252ToUtf8(parameters.substr(start, end - start)));
        }
        start = end + 1;
    }
    return words;
}

// The command that starts the file as the shell's "open" would, or why it
// cannot be started.
Result<ChildCommand> CommandFor(const WinePrefix& prefix, std::string_view windowsFile,
                                std::string_view parameters,
                                std::string_view windowsWorkingFolder) {
    const std::string shownFile = Cp1252ToUtf8(windowsFile);
    if (windowsFile.empty()) {
        return Error{shownFile, "no file to start was given"};
    }
    const std::filesystem::path file = ResolveWindowsPath(prefix, windowsFile);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return Error{shownFile, "the file does not exist"};
    }
    ChildCommand command;
    if (!windowsWorkingFolder.empty()) {
        command.workingFolder = ResolveWindowsPath(prefix, windowsWorkingFolder);
        if (!std::filesystem::is_directory(command.workingFolder, error)) {
            return Error{Cp1252ToUtf8(windowsWorkingFolder), "the working folder does not exist"};
        }
    }

    const std::string extension = LowerExtension(windowsFile);
    std::optional<std::filesystem::path> program;
    if (extension == ".exe" || extension == ".com" || extension == ".bat") {
        const std::string wine = WineProgram(prefix);
        program = FindExecutable(wine);
        if (!program) {
            return Error{shownFile, WineNotFound(wine)};
        }
        command.arguments = {wine, shownFile};
        for (auto& word : SplitAtBlanks(parameters)) {
            command.arguments.push_back(std::move(word));
        }
    } else {
        program = FindExecutable("xdg-open");
        if (!program) {
            return Error{shownFile, "xdg-open was not found; install xdg-utils to open documents"};
        }
        // The file's real path, not the one through dosdevices/, is the
        // one the desktop's program should show.
        const std::filesystem::path real = std::filesystem::canonical(file, error);
        command.arguments = {"xdg-open", error ? file.string() : real.string()};
    }
    command.program = *program;
    command.environment = EnvironmentWithPrefix(prefix);
    return command;
}

}  // namespace

// Wine gives no way to hide a program's first window from outside without
// changing the command line the program sees; the packages started hidden
// are ones that show no window of their own.
Status StartProgram(const WinePrefix& prefix, std::string_view windowsFile,
                    std::string_view parameters, std::string_view windowsWorkingFolder,
                    ShowCommand /*show*/) {
    const Result<ChildCommand> command =
        CommandFor(prefix, windowsFile, parameters, windowsWorkingFolder);
    if (!command) {
        return command.error();
    }
    return StartDetached(*command);
}

Result<ChildExit> RunProgram(const WinePrefix& prefix, std::string_view windowsFile,
                             std::string_view parameters, std::string_view windowsWorkingFolder,
                             ShowCommand /*show*/, std::chrono::milliseconds timeLimit) {
    const Result<ChildCommand> command =
        CommandFor(prefix, windowsFile, parameters, windowsWorkingFolder);
    if (!command) {
        return command.error();
    }
    return RunToEnd(*command, timeLimit);
}

Result<std::unique_ptr<WatchedStart>> StartWatchedProgram(const WinePrefix& prefix,
                                                          std::string_view windowsFile,
                                                          std::string_view windowsWorkingFolder,
                                                          int outputFile,
                                                          std::chrono::milliseconds watchTime) {
    const Result<ChildCommand> command = CommandFor(prefix, windowsFile, "", windowsWorkingFolder);
    if (!command) {
        return command.error();
    }
    return StartWatched(*command, outputFile, watchTime);
}

std::optional<ProgramBits> ProgramBitsOf(const WinePrefix& prefix, std::string_view windowsFile) {
    return ReadProgramBits(ResolveWindowsPath(prefix, windowsFile));
}

}  // namespace platform
