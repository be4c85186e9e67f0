#pragma once
// Starting the game's programs from the game's folder.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/run_log.h"
#include "platform/watched_start.h"
#include "platform/wine_prefix.h"

namespace varnopts {

inline constexpr std::string_view kRainbowSixExe = "RainbowSix.exe";
inline constexpr std::string_view kRainbowSixMpExe = "RainbowSixMP.exe";

// A game that ends within this long after its start with a failure (or
// with Wine's word that it cannot run a 32-bit program) did not start.
inline constexpr std::chrono::seconds kGameStartWatch{5};

// A game just started, watched without waiting for it.
class GameStart {
  public:
    GameStart(std::string file, std::unique_ptr<platform::WatchedStart> watched,
              std::optional<platform::RunLog> log, bool is32Bit)
        : file_(std::move(file)),
          watched_(std::move(watched)),
          log_(std::move(log)),
          is32Bit_(is32Bit) {}

    // Never blocks. False while the watch goes on; true once it is over,
    // after "Failed to start <file>" (with Wine's last lines and where the
    // whole log is) when the game did not start.
    bool Poll(const platform::WinePrefix& prefix);

  private:
    std::string file_;
    std::unique_ptr<platform::WatchedStart> watched_;
    std::optional<platform::RunLog> log_;
    bool is32Bit_ = false;
};

// Before anything runs: false, after "Failed to start <file>" saying why,
// while a wineserver runs for the prefix inside a launcher's Flatpak sandbox
// (a Wine started here would start a second server on the prefix).
bool CheckGameMayStart(const platform::WinePrefix& prefix, std::string_view gameFolder,
                       std::string_view program);

// Starts gameFolder + program (gameFolder ends with a backslash) in
// gameFolder, shown normally, its output going to a new run log. A failure
// to start shows "Failed to start <file>", also when the program is a 32-bit
// one and the prefix's Wine shows that it cannot run those (with how to get
// one that does); nothing is returned then.
std::unique_ptr<GameStart> StartGameProgram(const platform::WinePrefix& prefix,
                                            std::string_view gameFolder, std::string_view program,
                                            std::chrono::milliseconds watch = kGameStartWatch);

// Opens the modification's read-me with the desktop's default program.
// Nothing is reported when it is missing or cannot be opened.
inline constexpr std::string_view kReadMeFile = "VARN_v200_README.TXT";
void OpenReadMe(const platform::WinePrefix& prefix, std::string_view modFolder);

}  // namespace varnopts
