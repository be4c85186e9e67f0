#include "varnopts/res/string_table.h"

#include <map>
#include <string_view>

#include "varnopts/res/resource_ids.h"
#include "varnopts/settings/settings_texts.h"

namespace varnopts::res {

// The settings code shows texts 112 to 115 itself; the table takes them from
// there so that each is written once.
std::string LoadResourceString(int id) {
    static const std::map<int, std::string_view> kStrings = {
        {IDS_ABOUTBOX, "&About VARN MOD Options..."},
        {IDS_MP_TANGO, "Tango"},
        {IDS_MP_PISTOLS, "Pistols and Shotguns Only"},
        {IDS_SOUND_HIGH, "High Quality"},
        {IDS_SOUND_LOW, "Low Quality"},
        {IDS_GOCODES_MULTIPLAYER, "Multiplayer"},
        {IDS_GOCODES_ORIGINAL, "Original"},
        {IDS_ERROR_GAME_KEY, kTextMainKeyError.text},
        {IDS_ERROR_OPENING, kTextErrorOpening.text},
        {IDS_FAILED_TO_START, kTextFailedToStart.text},
        {IDS_REGISTRY_KEY, kTextRegistryKey.text},
        {IDS_INSTALL, "&Save"},
        {IDS_SOUND_TYPE, "Sound Type"},
        {IDS_GOCODES, "\"Go\" Codes"},
        {IDS_INSTALL_OPTIONS, "Install options"},
        {IDS_EXIT, "E&xit"},
        {IDS_HELP, "&Help"},
        {IDS_START_R6, "S&tart R6"},
        {IDS_MOUSE_SENSITIVITY, "Mouse sensitivity"},
        {IDS_LOW, "Low"},
        {IDS_HIGH, "High"},
        {IDS_RESET, "&Reset"},
        {IDS_SAVE_MOUSE, "&Save"},
        {IDS_ABOUT, "&About ..."},
        {IDS_START_EW, "Start &EW"},
    };
    const auto found = kStrings.find(id);
    return found != kStrings.end() ? std::string(found->second) : std::string();
}

}  // namespace varnopts::res
