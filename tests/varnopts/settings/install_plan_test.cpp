#include "varnopts/settings/install_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnopts {
namespace {

// The package each list entry stands for, in the lists' order.
const std::vector<std::string> kQuickWeapon{
    "VARN_TN_RAINBOW.EXE", "VARN_TN_ASSAULT.EXE", "VARN_TN_RECON.EXE",
    "VARN_TN_HEAVY.EXE",   "VARN_TN_TANGO.EXE",   "VARN_TN_MULTI.EXE",
};
const std::vector<std::string> kServerMode{"VARN_MP_DEFAULT.EXE", "VARN_MP_TANGO.EXE",
                                           "VARN_MP_PISTOLS.EXE", "VARN_MP_9MM.EXE"};
const std::vector<std::string> kSoundType{"VARN_HIGH_SOUND.EXE", "VARN_LOW_SOUND.EXE"};
const std::vector<std::string> kGoCodes{"VARN_GOCODES.EXE", "VARN_ORG_GO.EXE"};

TEST(InstallPlanTest, EveryCombinationOfChoicesRunsItsPackagesInOrder) {
    for (int weapon = kNoSelection; weapon < 6; ++weapon) {
        for (int server = 0; server < 4; ++server) {
            for (int sound = 0; sound < 2; ++sound) {
                for (int go = 0; go < 2; ++go) {
                    for (const bool eagleWatch : {false, true}) {
                        std::vector<std::string> expected{
                            "VARN_FULL.EXE", eagleWatch ? "VARN_FULL_INDEX.EXE" : "VARN_NO_EW.EXE"};
                        if (weapon != kNoSelection) {
                            expected.push_back(kQuickWeapon[weapon]);
                        }
                        expected.push_back(kServerMode[server]);
                        expected.push_back(kSoundType[sound]);
                        expected.push_back(kGoCodes[go]);
                        EXPECT_EQ(MakeInstallPlan(weapon, server, sound, go, eagleWatch), expected)
                            << weapon << ' ' << server << ' ' << sound << ' ' << go << ' '
                            << eagleWatch;
                    }
                }
            }
        }
    }
}

TEST(InstallPlanTest, DefaultChoicesWithAndWithoutEagleWatch) {
    EXPECT_EQ(MakeInstallPlan(0, 0, 0, 0, true),
              (std::vector<std::string>{"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE",
                                        "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                        "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"}));
    EXPECT_EQ(MakeInstallPlan(0, 0, 0, 0, false)[1], "VARN_NO_EW.EXE");
}

TEST(InstallPlanTest, PositionsOutsideTheirListsAddNothing) {
    EXPECT_EQ(MakeInstallPlan(6, 4, 2, 2, false),
              (std::vector<std::string>{"VARN_FULL.EXE", "VARN_NO_EW.EXE"}));
    EXPECT_EQ(MakeInstallPlan(-5, -1, -1, -1, true),
              (std::vector<std::string>{"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE"}));
}

}  // namespace
}  // namespace varnopts
