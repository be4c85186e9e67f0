#pragma once
// Item names from the game's name table, and item descriptions.

#include <string>
#include <string_view>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace kitdata {

inline constexpr char kNoDescription[] = "No description available.";

// The names of equipment.txt in the English text folder: the first quoted
// string of each line that begins with a double quote, in file order. An
// error names the file when it cannot be read; the caller then goes on with
// an empty table.
platform::Result<std::vector<std::string>> LoadItemNames(const platform::WinePrefix& prefix,
                                                         const GamePaths& paths);

// The same from lines already read.
std::vector<std::string> ParseItemNames(const std::vector<std::string>& lines);

// The description of the item whose Text cell is itemText: its description
// file in the English text folder with all lines run together (line ends
// dropped), or "No description available." when it cannot be read.
std::string ReadDescription(const platform::WinePrefix& prefix, const GamePaths& paths,
                            std::string_view itemText);

}  // namespace kitdata
