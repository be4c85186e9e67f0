#include "kit_fixture.h"

namespace loadwisetest {
namespace {

const char* const kItemFiles[] = {"primarymp.itm", "secondarymp.itm", "specialmp.itm"};
const char* const kKitLists[] = {"primarymp.txt", "secondarymp.txt", "special.txt"};

std::string DataFile(const Item& item) {
    return item.key.substr(0, item.key.find('.')) + ".atr";
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

}  // namespace

Kit SmallKit() {
    return {{
        {{"rook.txt", "Rook Carbine", true, "30", "A short carbine."},
         {"harrow.txt", "Harrow SMG", false, "25", "A compact submachine gun."},
         {"vesper.txt", "Vesper \xE0 pompe", true, "8", ""}},
        {{"lyra9.txt", "Lyra 9", true, "15", "A pistol."},
         {"vole32.txt", "Vole .32", false, "7", "A small pistol."}},
        {{"medkit.txt", "Medical kit", false, "", "Heals."},
         {"flash.txt", "Flash bang", true, "", "Blinds."}},
    }};
}

std::vector<Item> ManyItems(const std::string& prefix, int n, int active) {
    std::vector<Item> items;
    for (int i = 0; i < n; ++i) {
        items.push_back({prefix + std::to_string(i + 1) + ".txt",
                         "Item " + prefix + std::to_string(i + 1), i < active,
                         std::to_string(i % 40), ""});
    }
    return items;
}

std::string ItemLine(const Item& item, bool active) {
    return std::string(active ? "" : "//") + "\"" + item.key + "\" \"" +
           item.key.substr(0, item.key.find('.')) + "\" \"" + DataFile(item) + "\"";
}

std::string KitLine(const Item& item, bool active) {
    return std::string(active ? "" : "//") + "\"" + item.key + "\"";
}

KitInstallation::KitInstallation(const Kit& kit, testsupport::InstallationOptions options)
    : installation_(std::make_unique<testsupport::FakeInstallation>(std::move(options))) {
    std::vector<std::string> names = {"// names", "\"Nobody\""};
    for (int tab = 0; tab < 3; ++tab) {
        std::vector<std::string> itemLines = {"// multiplayer items", "\"header\" \"x\" \"y\""};
        std::vector<std::string> kitLines = {"// kit list"};
        for (const Item& item : kit[tab]) {
            const int nameIndex = static_cast<int>(names.size()) - 1;
            names.push_back("\"" + item.name + "\"");
            itemLines.push_back(ItemLine(item, item.active));
            kitLines.push_back(KitLine(item, item.active));
            std::vector<std::string> data(19, "0 // unused");
            data[0] = std::to_string(nameIndex) + " // name";
            data[2] = item.mag + " // magazine";
            data[3] = "600 // rate of fire";
            data[14] = "0.6 // accuracy";
            data[15] = "1.6 // recoil";
            data[16] = "1.2 // reticle";
            data[18] = "2 // zoom";
            installation_->WriteFile(
                installation_->GameValue("EquipmentPath") + "\\" + DataFile(item), Lines(data));
            if (!item.description.empty()) {
                installation_->WriteFile(
                    installation_->GameValue("EquipTextPath") + "\\english\\" + item.key,
                    item.description + "\r\n");
            }
        }
        installation_->WriteFile(ItemFile(tab), Lines(itemLines));
        installation_->WriteFile(KitList(tab), Lines(kitLines));
    }
    installation_->WriteFile(installation_->GameValue("EquipTextPath") + "\\english\\equipment.txt",
                             Lines(names));
}

std::string KitInstallation::ItemFile(int tab) const {
    return installation_->GameValue("EquipmentPath") + "\\" + kItemFiles[tab];
}

std::string KitInstallation::KitList(int tab) const {
    return installation_->GameValue("EquipTextPath") + "\\english\\" + kKitLists[tab];
}

std::vector<std::string> KitInstallation::KitFiles() const {
    std::vector<std::string> files;
    for (int tab = 0; tab < 3; ++tab) {
        files.push_back(Read(ItemFile(tab)));
    }
    for (int tab = 0; tab < 3; ++tab) {
        files.push_back(Read(KitList(tab)));
    }
    return files;
}

}  // namespace loadwisetest
