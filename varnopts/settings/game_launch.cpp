#include "varnopts/settings/game_launch.h"

#include <fcntl.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include "platform/codepage.h"
#include "platform/file_read.h"
#include "platform/program_start.h"
#include "platform/wine_32bit.h"
#include "platform/wineserver.h"
#include "varnopts/settings/program_launcher.h"
#include "varnopts/settings/windows_environment.h"

namespace varnopts {
namespace {

constexpr std::size_t kDetailLines = 15;

}  // namespace

bool GameStart::Poll(const platform::WinePrefix& prefix) {
    using State = platform::WatchedStart::State;
    const State state = watched_->Poll();
    if (state == State::Watching) {
        return false;
    }
    if (state == State::NotStarted) {
        ShowFailedToStart(file_, watched_->whyNotStarted());
        return true;
    }
    // What a game that ended within the watch printed is short: all of it is looked at.
    const auto printed =
        log_ ? platform::ReadWholeFile(log_->file()) : platform::Result<std::string>(std::string());
    const std::string all = printed ? *printed : std::string();
    const std::string last = platform::LastLines(all, kDetailLines);
    const bool cannotRun32Bit = is32Bit_ && platform::SaysCannotRun32Bit(all);
    if (state == State::Running || (watched_->exitCode() == 0 && !cannotRun32Bit)) {
        return true;
    }
    std::string details = cannotRun32Bit ? "Wine could not run this 32-bit program. " +
                                               platform::How32BitPartIsGot(prefix.wine) + "\n\n"
                                         : "It ended at once with exit code " +
                                               std::to_string(watched_->exitCode()) + ".\n\n";
    if (!last.empty()) {
        details += "The last lines Wine printed:\n" + last + "\n\n";
    }
    if (log_) {
        details += "The whole log: " + log_->file().string();
    }
    ShowFailedToStart(file_, platform::Utf8ToCp1252(details));
    return true;
}

bool CheckGameMayStart(const platform::WinePrefix& prefix, std::string_view gameFolder,
                       std::string_view program) {
    if (!platform::IsWineserverRunningInSandbox(prefix.folder)) {
        return true;
    }
    ShowFailedToStart(std::string(gameFolder) + std::string(program),
                      platform::Utf8ToCp1252(platform::kSandboxedServerExplanation));
    return false;
}

std::unique_ptr<GameStart> StartGameProgram(const platform::WinePrefix& prefix,
                                            std::string_view gameFolder, std::string_view program,
                                            std::chrono::milliseconds watch) {
    std::string file(gameFolder);
    file += program;
    const std::string expanded = ExpandWindowsEnvironment(prefix, file);
    const bool is32Bit = platform::ProgramBitsOf(prefix, expanded) == platform::ProgramBits::Bits32;
    if (is32Bit && platform::CanRun32Bit(prefix.wine) == platform::Runs32Bit::No) {
        ShowFailedToStart(file, platform::Utf8ToCp1252(
                                    std::string(program) +
                                    " is a 32-bit program, and the Wine that would run it cannot "
                                    "run 32-bit programs. " +
                                    platform::How32BitPartIsGot(prefix.wine)));
        return nullptr;
    }
    platform::Result<platform::RunLog> log = platform::RunLog::Create(program);
    if (!log) {
        std::cerr << "varnopts: no log of the game's start: " << log.error().Describe() << '\n';
    }
    const int devNull = log ? -1 : open("/dev/null", O_WRONLY | O_CLOEXEC);
    auto watched = platform::StartWatchedProgram(prefix, expanded,
                                                 ExpandWindowsEnvironment(prefix, gameFolder),
                                                 log ? log->descriptor() : devNull, watch);
    if (devNull >= 0) {
        close(devNull);
    }
    if (!watched) {
        ShowFailedToStart(file);
        return nullptr;
    }
    std::optional<platform::RunLog> kept;
    if (log) {
        kept.emplace(std::move(log).value());
    }
    return std::make_unique<GameStart>(file, std::move(watched).value(), std::move(kept), is32Bit);
}

void OpenReadMe(const platform::WinePrefix& prefix, std::string_view modFolder) {
    // The read-me is looked for in the modification's folder; with no folder
    // known, in the current one.
    const std::string folder = ExpandWindowsEnvironment(prefix, modFolder);
    std::string file;
    if (!folder.empty()) {
        file = folder;
        file += '\\';
    }
    file += kReadMeFile;
    // Help shows no message when the read-me is missing or nothing opens it:
    // the read-me is optional reading. A player who started us from a
    // terminal still learns why nothing opened.
    const platform::Status opened =
        platform::StartProgram(prefix, file, "", folder, platform::ShowCommand::ShowNormal);
    if (!opened) {
        std::cerr << "varnopts: cannot open the read-me: " << opened.error().Describe() << '\n';
    }
}

}  // namespace varnopts
