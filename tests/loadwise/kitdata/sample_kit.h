#pragma once
// A small made-up multiplayer kit laid out in a fake installation: item
// files, kit lists, data files, equipment.txt and descriptions.

#include <string>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "support/fake_installation.h"

namespace kitdatatest {

struct SampleItem {
    std::string text;  // description file and key
    std::string file;  // data file
    bool active = true;
    int nameIndex = 0;
    std::string mag, rof, accuracy, recoil, reticle, zoom;
};

// A data file with the figures on the lines the reader takes them from, each
// followed by a comment as the game's files have them.
std::string DataFileText(int nameIndex, const std::string& mag, const std::string& rof,
                         const std::string& accuracy, const std::string& recoil,
                         const std::string& reticle, const std::string& zoom);

// An item line: "text" "label" "file", with "//" in front when switched off.
std::string ItemLine(const SampleItem& item);
// A kit list line: "text".
std::string KitLine(const SampleItem& item);

// Lines joined with the given line end after each.
std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n");

// The folder strings as ReadGamePaths gives them for the fake installation.
kitdata::GamePaths SamplePaths(const testsupport::FakeInstallation& installation);

// Windows paths of the files inside the two folders.
std::string EquipmentFile(const testsupport::FakeInstallation& installation,
                          const std::string& name);
std::string EquipTextFile(const testsupport::FakeInstallation& installation,
                          const std::string& name);

// Writes an item file with its header and the matching kit list for a tab,
// and a data file per item.
void WriteTab(testsupport::FakeInstallation& installation, int tab,
              const std::vector<SampleItem>& items);

// Three tabs of items, equipment.txt with names and two descriptions.
void WriteSampleKit(testsupport::FakeInstallation& installation);
std::vector<SampleItem> SamplePrimary();
std::vector<SampleItem> SampleSecondary();
std::vector<SampleItem> SampleSpecial();

}  // namespace kitdatatest
