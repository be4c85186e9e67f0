#pragma once
// Which packages an installation runs, and in which order.

#include <string>
#include <vector>

namespace varnopts {

// The list position of the quick weapon selection when no entry is selected
// (its box is editable), as a combo box reports it.
inline constexpr int kNoSelection = -1;

// The packages for the four list positions (quick weapon selection,
// multiplayer server mode, sound type, "Go" codes) and whether Eagle Watch is
// installed: at most six names, in the order they are to run. A position
// outside its list contributes no package.
std::vector<std::string> MakeInstallPlan(int quickWeapon, int serverMode, int soundType,
                                         int goCodes, bool eagleWatch);

}  // namespace varnopts
