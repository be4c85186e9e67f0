#pragma once
// A game installation with a multiplayer kit of our own items, for driving
// the Loadwise window: item files, kit lists, data files, names, descriptions.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "support/fake_installation.h"

class CLoadwiseDlg;

namespace loadwisetest {

struct Item {
    std::string key;   // description file name, e.g. "rook.txt"
    std::string name;  // entry of equipment.txt (Windows-1252)
    bool active = true;
    std::string mag = "30";
    std::string description;  // "" leaves the item without a description file
};

using Kit = std::array<std::vector<Item>, 3>;

// Three small tabs: Primary with 3 items (2 active), Secondary with 2 (1
// active), Special with 2 (1 active).
Kit SmallKit();
// n items named "Item 1".. on one tab, the first `active` of them active.
std::vector<Item> ManyItems(const std::string& prefix, int n, int active);

class KitInstallation {
  public:
    explicit KitInstallation(const Kit& kit, testsupport::InstallationOptions options = {});

    testsupport::FakeInstallation& installation() { return *installation_; }
    const platform::WinePrefix& prefix() const { return installation_->prefix(); }

    // Windows paths of the tab's item file and kit list.
    std::string ItemFile(int tab) const;
    std::string KitList(int tab) const;
    std::string Read(const std::string& windowsPath) const {
        return installation_->ReadFile(windowsPath);
    }
    // The six files' contents, item files first.
    std::vector<std::string> KitFiles() const;

  private:
    std::unique_ptr<testsupport::FakeInstallation> installation_;
};

// The item-file line of an item as written (active or switched off).
std::string ItemLine(const Item& item, bool active);
std::string KitLine(const Item& item, bool active);

}  // namespace loadwisetest
