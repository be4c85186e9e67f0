#include "support/kit_fixture.h"

namespace testsupport {

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

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

KitInstallation::KitInstallation(const Kit& kit, InstallationOptions options)
    : FakeInstallation(std::move(options)) {
    std::vector<std::string> names = {"// names", "\"Nobody\""};
    for (int tab = 0; tab < 3; ++tab) {
        std::vector<std::string> itemLines = {"// multiplayer items", "\"header\" \"x\" \"y\""};
        std::vector<std::string> kitLines = {"// kit list"};
        for (const KitItem& item : kit[tab]) {
            const std::string mark = item.active ? "" : "//";
            const std::string stem = item.key.substr(0, item.key.find('.'));
            itemLines.push_back(mark + "\"" + item.key + "\" \"" + stem + "\" \"" + stem +
                                ".atr\"");
            kitLines.push_back(mark + "\"" + item.key + "\"");
            std::vector<std::string> data(19, "0 // unused");
            data[0] = std::to_string(names.size() - 1) + " // name";
            data[2] = item.mag + " // magazine";
            data[3] = "600 // rate of fire";
            data[14] = "0.6 // accuracy";
            data[15] = "1.6 // recoil";
            data[16] = "1.2 // reticle";
            data[18] = "2 // zoom";
            WriteFile(EquipmentFile(stem + ".atr"), CrLfLines(data));
            names.push_back("\"" + item.name + "\"");
            if (!item.description.empty()) {
                WriteFile(TextFile(item.key), item.description + "\r\n");
            }
        }
        WriteFile(ItemFile(tab), CrLfLines(itemLines));
        WriteFile(KitList(tab), CrLfLines(kitLines));
    }
    WriteFile(TextFile("equipment.txt"), CrLfLines(names));
}

std::string KitInstallation::EquipmentFile(const std::string& name) const {
    return GameValue("EquipmentPath") + "\\" + name;
}

std::string KitInstallation::TextFile(const std::string& name) const {
    return GameValue("EquipTextPath") + "\\english\\" + name;
}

std::string KitInstallation::KitFile(int file) const {
    const char* const names[] = {"primarymp.itm", "secondarymp.itm", "specialmp.itm",
                                 "primarymp.txt", "secondarymp.txt", "special.txt"};
    return file < 3 ? EquipmentFile(names[file]) : TextFile(names[file]);
}

std::vector<std::string> KitInstallation::KitFiles() const {
    std::vector<std::string> files;
    for (int file = 0; file < 6; ++file) {
        files.push_back(ReadFile(KitFile(file)));
    }
    return files;
}

}  // namespace testsupport
