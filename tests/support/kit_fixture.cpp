#include "support/kit_fixture.h"

namespace testsupport {
namespace {

const char* const kItemFiles[] = {"primarymp.itm", "secondarymp.itm", "specialmp.itm"};
const char* const kKitLists[] = {"primarymp.txt", "secondarymp.txt", "special.txt"};

std::string Stem(const KitItem& item) {
    return item.key.substr(0, item.key.find('.'));
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

std::vector<KitItem> ManyItems(const std::string& prefix, int n, int active) {
    std::vector<KitItem> items;
    for (int i = 1; i <= n; ++i) {
        const std::string id = prefix + std::to_string(i);
        items.push_back({id + ".txt", "Item " + id, i <= active, std::to_string(i % 40), ""});
    }
    return items;
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string ItemLine(const KitItem& item, bool active) {
    return std::string(active ? "" : "//") + "\"" + item.key + "\" \"" + Stem(item) + "\" \"" +
           Stem(item) + ".atr\"";
}

std::string KitLine(const KitItem& item, bool active) {
    return std::string(active ? "" : "//") + "\"" + item.key + "\"";
}

KitInstallation::KitInstallation(const Kit& kit, InstallationOptions options)
    : FakeInstallation(std::move(options)) {
    std::vector<std::string> names = {"// names", "\"Nobody\""};
    for (int tab = 0; tab < 3; ++tab) {
        std::vector<std::string> itemLines = {"// multiplayer items", "\"header\" \"x\" \"y\""};
        std::vector<std::string> kitLines = {"// kit list"};
        for (const KitItem& item : kit[tab]) {
            std::vector<std::string> data(19, "0 // unused");
            data[0] = std::to_string(names.size() - 1) + " // name";
            data[2] = item.mag + " // magazine";
            data[3] = "600 // rate of fire";
            data[14] = "0.6 // accuracy";
            data[15] = "1.6 // recoil";
            data[16] = "1.2 // reticle";
            data[18] = "2 // zoom";
            names.push_back("\"" + item.name + "\"");
            itemLines.push_back(ItemLine(item, item.active));
            kitLines.push_back(KitLine(item, item.active));
            WriteFile(EquipmentFile(Stem(item) + ".atr"), CrLfLines(data));
            if (!item.description.empty()) {
                WriteFile(TextFile(item.key), item.description + "\r\n");
            }
        }
        WriteFile(ItemFile(tab), CrLfLines(itemLines));
        WriteFile(KitList(tab), CrLfLines(kitLines));
    }
    WriteFile(TextFile("equipment.txt"), CrLfLines(names));
}

kitdata::GamePaths KitInstallation::Paths() const {
    kitdata::GamePaths paths;
    paths.m_strActorPath = GameValue("ActorPath");
    paths.m_strBitmapPath = GameValue("BitmapPath");
    paths.m_strActionMusicPath = GameValue("ActionMusicPath");
    paths.m_strEquipmentPath = GameValue("EquipmentPath") + "\\";
    paths.m_strEquipTextPath = GameValue("EquipTextPath") + "\\english\\";
    paths.m_strInstallationPath = GameValue("InstallationPath");
    paths.m_strSoundPath = GameValue("SoundPath");
    paths.m_strTextPath = GameValue("TextPath");
    return paths;
}

std::string KitInstallation::EquipmentFile(const std::string& name) const {
    return GameValue("EquipmentPath") + "\\" + name;
}

std::string KitInstallation::TextFile(const std::string& name) const {
    return GameValue("EquipTextPath") + "\\english\\" + name;
}

std::string KitInstallation::ItemFile(int tab) const {
    return EquipmentFile(kItemFiles[tab]);
}

std::string KitInstallation::KitList(int tab) const {
    return TextFile(kKitLists[tab]);
}

std::vector<std::string> KitInstallation::KitFiles() const {
    std::vector<std::string> files;
    for (int tab = 0; tab < 3; ++tab) {
        files.push_back(ReadFile(ItemFile(tab)));
    }
    for (int tab = 0; tab < 3; ++tab) {
        files.push_back(ReadFile(KitList(tab)));
    }
    return files;
}

}  // namespace testsupport
