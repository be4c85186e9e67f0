#include "loadwise/kitdata/kit_files.h"

#include "loadwise/kitdata/game_paths.h"

namespace kitdata {
namespace {

constexpr const char* kItemFiles[kTabCount] = {"primarymp.itm", "secondarymp.itm", "specialmp.itm"};
constexpr const char* kKitLists[kTabCount] = {"primarymp.txt", "secondarymp.txt", "special.txt"};

bool IsTab(int tab) {
    return tab >= 0 && tab < kTabCount;
}

}  // namespace

const char* ItemFileName(int tab) {
    return IsTab(tab) ? kItemFiles[tab] : "";
}

const char* KitListFileName(int tab) {
    return IsTab(tab) ? kKitLists[tab] : "";
}

std::string ItemFilePath(const GamePaths& paths, int tab) {
    return paths.m_strEquipmentPath + ItemFileName(tab);
}

std::string KitListPath(const GamePaths& paths, int tab) {
    return paths.m_strEquipTextPath + KitListFileName(tab);
}

std::array<std::string, 6> KitFilePaths(const GamePaths& paths) {
    return {ItemFilePath(paths, 0), ItemFilePath(paths, 1), ItemFilePath(paths, 2),
            KitListPath(paths, 0),  KitListPath(paths, 1),  KitListPath(paths, 2)};
}

}  // namespace kitdata
