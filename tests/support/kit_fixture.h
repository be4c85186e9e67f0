#pragma once
// A game installation with a multiplayer kit of our own items: the three
// item files and kit lists, a data file per item, equipment.txt with the
// items' names and their description files.

#include <array>
#include <string>
#include <vector>

#include "support/fake_installation.h"

namespace testsupport {

struct KitItem {
    std::string key;   // description file name, e.g. "rook.txt"; its data file is "rook.atr"
    std::string name;  // entry of equipment.txt (Windows-1252)
    bool active = true;
    std::string mag = "30";
    std::string description;  // "" leaves the item without a description file
};

using Kit = std::array<std::vector<KitItem>, 3>;

// Primary: rook (on), harrow (off), vesper (on, no description); Secondary:
// lyra9 (on), vole32 (off); Special: medkit (off), flash (on).
Kit SmallKit();
// Lines each ended with CR LF.
std::string CrLfLines(const std::vector<std::string>& lines);

class KitInstallation : public FakeInstallation {
  public:
    explicit KitInstallation(const Kit& kit = SmallKit(), InstallationOptions options = {});

    // Windows paths of a file in the equipment folder and in the English text folder.
    std::string EquipmentFile(const std::string& name) const;
    std::string TextFile(const std::string& name) const;
    // Windows paths of the six kit files: the three item files, then the three kit lists.
    std::string KitFile(int file) const;
    std::string ItemFile(int tab) const { return KitFile(tab); }
    std::string KitList(int tab) const { return KitFile(3 + tab); }
    std::vector<std::string> KitFiles() const;  // their contents
};

}  // namespace testsupport
