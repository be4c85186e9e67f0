#include "varnopts/settings/install_plan.h"

#include <array>
#include <span>
#include <string_view>

#include "varnopts/settings/package_table.h"

namespace varnopts {

namespace {

// One package per entry of each list, in the lists' order.
constexpr std::array<std::string_view, 6> kQuickWeaponPackages{
    kPackageTeamRainbow, kPackageTeamAssault, kPackageTeamRecon,
    kPackageTeamHeavy,   kPackageTeamTango,   kPackageTeamMulti,
};
constexpr std::array<std::string_view, 4> kServerModePackages{
    kPackageServerDefault, kPackageServerTango, kPackageServerPistols, kPackageServer9mm};
constexpr std::array<std::string_view, 2> kSoundTypePackages{kPackageHighSound, kPackageLowSound};
constexpr std::array<std::string_view, 2> kGoCodesPackages{kPackageGoCodes,
                                                           kPackageOriginalGoCodes};

void AddChosen(std::vector<std::string>& plan, std::span<const std::string_view> packages,
               int position) {
    if (position >= 0 && static_cast<std::size_t>(position) < packages.size()) {
        plan.emplace_back(packages[static_cast<std::size_t>(position)]);
    }
}

}  // namespace

std::vector<std::string> MakeInstallPlan(int quickWeapon, int serverMode, int soundType,
                                         int goCodes, bool eagleWatch) {
    std::vector<std::string> plan;
    plan.emplace_back(kPackageFull);
    plan.emplace_back(eagleWatch ? kPackageFullIndex : kPackageNoEagleWatch);
    AddChosen(plan, kQuickWeaponPackages, quickWeapon);
    AddChosen(plan, kServerModePackages, serverMode);
    AddChosen(plan, kSoundTypePackages, soundType);
    AddChosen(plan, kGoCodesPackages, goCodes);
    return plan;
}

}  // namespace varnopts
