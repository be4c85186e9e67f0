#include "sample_kit.h"

#include "loadwise/kitdata/kit_files.h"

namespace kitdatatest {

std::string DataFileText(int nameIndex, const std::string& mag, const std::string& rof,
                         const std::string& accuracy, const std::string& recoil,
                         const std::string& reticle, const std::string& zoom) {
    std::vector<std::string> lines(20);
    lines[0] = std::to_string(nameIndex) + " 1 // name, class";
    lines[1] = "weapon // kind";
    lines[2] = mag + " // magazine";
    lines[3] = rof + " // rate of fire";
    for (int i = 4; i < 14; ++i) {
        lines[i] = std::to_string(i) + ".5 // ballistics";
    }
    lines[14] = accuracy + " // accuracy";
    lines[15] = recoil + " // recoil";
    lines[16] = reticle + " // reticle";
    lines[17] = "3 // sound";
    lines[18] = zoom + " // zoom";
    lines[19] = "end";
    return JoinLines(lines);
}

std::string ItemLine(const SampleItem& item) {
    return std::string(item.active ? "" : "//") + "\"" + item.text + "\"\t\"" + item.text +
           "-label\"\t\"" + item.file + "\"";
}

std::string KitLine(const SampleItem& item) {
    return std::string(item.active ? "" : "//") + "\"" + item.text + "\"";
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + lineEnd;
    }
    return text;
}

kitdata::GamePaths SamplePaths(const testsupport::FakeInstallation& installation) {
    kitdata::GamePaths paths;
    paths.m_strActorPath = installation.GameValue("ActorPath");
    paths.m_strBitmapPath = installation.GameValue("BitmapPath");
    paths.m_strActionMusicPath = installation.GameValue("ActionMusicPath");
    paths.m_strEquipmentPath = installation.GameValue("EquipmentPath") + "\\";
    paths.m_strEquipTextPath = installation.GameValue("EquipTextPath") + "\\english\\";
    paths.m_strInstallationPath = installation.GameValue("InstallationPath");
    paths.m_strSoundPath = installation.GameValue("SoundPath");
    paths.m_strTextPath = installation.GameValue("TextPath");
    return paths;
}

std::string EquipmentFile(const testsupport::FakeInstallation& installation,
                          const std::string& name) {
    return installation.GameValue("EquipmentPath") + "\\" + name;
}

std::string EquipTextFile(const testsupport::FakeInstallation& installation,
                          const std::string& name) {
    return installation.GameValue("EquipTextPath") + "\\english\\" + name;
}

void WriteTab(testsupport::FakeInstallation& installation, int tab,
              const std::vector<SampleItem>& items) {
    std::vector<std::string> itemLines = {"// Multiplayer items", "",
                                          "\"header.txt\"\t\"HEADER\"\t\"\""};
    std::vector<std::string> kitLines = {"// Kit list", ""};
    for (const SampleItem& item : items) {
        itemLines.push_back(ItemLine(item));
        kitLines.push_back(KitLine(item));
        installation.WriteFile(EquipmentFile(installation, item.file),
                               DataFileText(item.nameIndex, item.mag, item.rof, item.accuracy,
                                            item.recoil, item.reticle, item.zoom));
    }
    installation.WriteFile(EquipmentFile(installation, kitdata::ItemFileName(tab)),
                           JoinLines(itemLines));
    installation.WriteFile(EquipTextFile(installation, kitdata::KitListFileName(tab)),
                           JoinLines(kitLines));
}

std::vector<SampleItem> SamplePrimary() {
    return {
        {"mp5.txt", "mp5.atr", true, 1, "30", "800", "0.45", "1.6", "0.9", "1.5"},
        {"m16.txt", "m16.atr", false, 2, "20", "700", "0.1", "2.5", "3.2", "2"},
        {"ex_primmags.txt", "primmags.atr", true, 3, "", "", "", "", "", ""},
        {"sniper.txt", "sniper.atr", true, 4, "5", "1", "0.05", "5", "0.2", "10"},
    };
}

std::vector<SampleItem> SampleSecondary() {
    return {
        {"pistol.txt", "pistol.atr", true, 5, "15", "300", "1.3", "1.4", "1.2", "1"},
        {"ex_secmags.txt", "secmags.atr", false, 6, "", "", "", "", "", ""},
    };
}

std::vector<SampleItem> SampleSpecial() {
    return {
        {"flash.txt", "flash.atr", true, 7, "", "", "", "", "", ""},
        {"ex_emptykit.txt", "empty.atr", true, 8, "", "", "", "", "", ""},
        {"heartbeat.txt", "heartbeat.atr", false, 9, "", "", "", "", "", ""},
    };
}

void WriteSampleKit(testsupport::FakeInstallation& installation) {
    WriteTab(installation, kitdata::kPrimaryTab, SamplePrimary());
    WriteTab(installation, kitdata::kSecondaryTab, SampleSecondary());
    WriteTab(installation, kitdata::kSpecialTab, SampleSpecial());
    installation.WriteFile(
        EquipTextFile(installation, "equipment.txt"),
        JoinLines({"// Names", "\"Nothing\"", "\"MP5 Submachine Gun\" trailing", "",
                   "\"M-16 Rifle\"", "\"Magazines\"", "\"Sniper Rifle\"", "\"Pistol\"",
                   "\"Magazines 2\"", "\"Flashbang\"", "\"Empty kit\"", "\"Heartbeat Sensor\""}));
    installation.WriteFile(EquipTextFile(installation, "mp5.txt"),
                           JoinLines({"A compact weapon.", "Fires fast."}));
    installation.WriteFile(EquipTextFile(installation, "m16.txt"), "");
}

}  // namespace kitdatatest
