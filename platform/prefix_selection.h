#pragma once
// Which prefix the programs work on, and which Wine runs it: --prefix DIR,
// else $WINEPREFIX, else the remembered choice while it still holds the
// game, else the one prefix that holds the game; when several hold it the
// user chooses. Each program says on standard error what it uses.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace platform {

struct PrefixCandidate {
    WinePrefix prefix;     // with its Wine build
    std::string launcher;  // "" when no launcher knows it
    std::string game;
    std::filesystem::file_time_type lastChange;  // newest of system.reg and user.reg; min() unknown
};

struct SelectionInput {
    std::string gameKey;
    std::string commandLinePrefix;  // --prefix DIR, "" when not given
    std::string environmentPrefix;  // $WINEPREFIX, "" when not set
    std::filesystem::path home;
    std::filesystem::path configHome;  // $XDG_CONFIG_HOME or ~/.config
};

struct PrefixSelection {
    // Set unless the user has to choose one of the candidates, or the folder
    // named is refused.
    std::optional<WinePrefix> prefix;
    std::vector<PrefixCandidate> candidates;  // every prefix found holding the game
    std::vector<std::string> notes;           // e.g. a remembered prefix absent or dropped
    std::string refusal;  // set when the folder named is no prefix: why (no prefix then)
};

// The input as this process sees it: environment, home and config folder.
SelectionInput CurrentSelectionInput(std::string gameKey, std::string commandLinePrefix);

PrefixSelection SelectPrefix(const SelectionInput& input);

// The prefix whose registry SelectPrefix reads first: the one named, else
// the remembered one, else ~/.wine (empty when the folder named is no
// prefix). A start reads its registry ahead.
std::filesystem::path PrefixToReadFirst(const SelectionInput& input);

// The choice remembered in <configHome>/r6tools/prefix.
std::filesystem::path RememberedPrefixFile(const std::filesystem::path& configHome);
Status RememberPrefix(const std::filesystem::path& configHome, const std::filesystem::path& folder);

// "<program>: prefix <folder> (<how found>); wine <program> (<where from>)".
std::string StartupLine(const std::string& programName, const WinePrefix& prefix);

// For the message that the game's key is missing: where the programs
// looked, one line per place, and what to do.
std::string GameNotFoundDetail(const WinePrefix& prefix);

// The prefix of a folder the user chose while the programs run, checked like
// --prefix, with its Wine build.
Result<WinePrefix> ChosenPrefix(const std::filesystem::path& folder, const std::string& gameKey);

}  // namespace platform
