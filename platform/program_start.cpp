#include "platform/program_start.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/process_environment.h"
#include "platform/windows_path.h"
#include "platform/wineserver.h"

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

// Only async-signal-safe calls may run between fork and exec: everything
// is prepared before the fork.
[[noreturn]] void ReportAndExit(int pipe, int error) {
    ssize_t ignored = write(pipe, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

// Starts the program detached from us: an intermediate child forks the
// program and exits at once, so the program is re-parented to init and
// never becomes our zombie. A close-on-exec pipe tells whether the exec
// worked: it closes without data on success and carries errno otherwise.
Status SpawnDetached(const std::filesystem::path& program, std::vector<std::string> arguments,
                     std::vector<std::string> environment,
                     const std::filesystem::path& workingFolder) {
    std::vector<char*> argv = NullTerminatedPointers(arguments);
    std::vector<char*> envp = NullTerminatedPointers(environment);
    const std::string folder = workingFolder.string();
    const std::string programPath = program.string();

    int pipe[2];
    if (pipe2(pipe, O_CLOEXEC) != 0) {
        return Error{programPath, std::strerror(errno)};
    }
    const pid_t intermediate = fork();
    if (intermediate < 0) {
        const int error = errno;
        close(pipe[0]);
        close(pipe[1]);
        return Error{programPath, std::strerror(error)};
    }
    if (intermediate == 0) {
        close(pipe[0]);
        setsid();  // the program outlives us and our terminal
        const pid_t child = fork();
        if (child < 0) {
            ReportAndExit(pipe[1], errno);
        }
        if (child == 0) {
            const int devNull = open("/dev/null", O_RDONLY);
            if (devNull > 0) {
                dup2(devNull, 0);
                close(devNull);
            }
            if (!folder.empty() && chdir(folder.c_str()) != 0) {
                ReportAndExit(pipe[1], errno);
            }
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            struct sigaction defaultAction {};
            defaultAction.sa_handler = SIG_DFL;
            sigaction(SIGPIPE, &defaultAction, nullptr);
            // Our descriptors are none of the program's business.
            close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
            execve(programPath.c_str(), argv.data(), envp.data());
            ReportAndExit(pipe[1], errno);
        }
        _exit(0);
    }

    close(pipe[1]);
    int status = 0;
    while (waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
    }
    int childError = 0;
    ssize_t received = 0;
    do {
        received = read(pipe[0], &childError, sizeof childError);
    } while (received < 0 && errno == EINTR);
    close(pipe[0]);
    if (received == static_cast<ssize_t>(sizeof childError)) {
        return Error{programPath, std::strerror(childError)};
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return Error{programPath, "the program could not be started"};
    }
    return Status::Ok();
}

}  // namespace

Status StartProgram(const WinePrefix& prefix, std::string_view windowsFile,
                    std::string_view parameters, std::string_view windowsWorkingFolder,
                    ShowCommand show) {
    // Wine gives no way to hide a program's first window from outside; the
    // packages started hidden are ones that show no window of their own.
    (void)show;
    const std::string shownFile = Cp1252ToUtf8(windowsFile);
    if (windowsFile.empty()) {
        return Error{shownFile, "no file to start was given"};
    }
    const std::filesystem::path file = ResolveWindowsPath(prefix, windowsFile);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return Error{shownFile, "the file does not exist"};
    }
    std::filesystem::path folder;
    if (!windowsWorkingFolder.empty()) {
        folder = ResolveWindowsPath(prefix, windowsWorkingFolder);
        if (!std::filesystem::is_directory(folder, error)) {
            return Error{Cp1252ToUtf8(windowsWorkingFolder), "the working folder does not exist"};
        }
    }

    const std::string extension = LowerExtension(windowsFile);
    std::vector<std::string> arguments;
    std::optional<std::filesystem::path> program;
    if (extension == ".exe" || extension == ".com" || extension == ".bat") {
        const std::string wine = WineProgram(prefix);
        program = FindExecutable(wine);
        if (!program) {
            return Error{shownFile, "the program \"" + wine + "\" was not found; install Wine"};
        }
        arguments = {wine, shownFile};
        for (auto& word : SplitAtBlanks(parameters)) {
            arguments.push_back(std::move(word));
        }
    } else {
        program = FindExecutable("xdg-open");
        if (!program) {
            return Error{shownFile, "xdg-open was not found; install xdg-utils to open documents"};
        }
        // The file's real path, not the one through dosdevices/, is the
        // one the desktop's program should show.
        const std::filesystem::path real = std::filesystem::canonical(file, error);
        arguments = {"xdg-open", error ? file.string() : real.string()};
    }
    return SpawnDetached(*program, std::move(arguments), EnvironmentWithPrefix(prefix), folder);
}

}  // namespace platform
