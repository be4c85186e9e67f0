#pragma once
// The three tabs and the game files that belong to each.

#include <array>
#include <string>

namespace kitdata {

struct GamePaths;

constexpr int kTabCount = 3;
constexpr int kPrimaryTab = 0;
constexpr int kSecondaryTab = 1;
constexpr int kSpecialTab = 2;

// "primarymp.itm", "secondarymp.itm", "specialmp.itm" (in the equipment folder).
const char* ItemFileName(int tab);
// "primarymp.txt", "secondarymp.txt", "special.txt" (in the English text folder).
const char* KitListFileName(int tab);

// Windows paths, by plain concatenation of folder string and file name.
std::string ItemFilePath(const GamePaths& paths, int tab);
std::string KitListPath(const GamePaths& paths, int tab);

// The six files Save rewrites, in the order they are made writable at
// start-up: the three item files, then the three kit lists.
std::array<std::string, 6> KitFilePaths(const GamePaths& paths);

}  // namespace kitdata
