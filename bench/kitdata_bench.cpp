// Times reading and saving a large generated kit: 2,000 items on each tab.
// Goal on a small machine: reading (paths, names, three lists) under 100 ms,
// saving (six files) under 50 ms. Prints the best and the median of the runs.

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "platform/wine_prefix.h"

namespace fs = std::filesystem;

namespace {

constexpr int kItemsPerTab = 2000;
constexpr int kRuns = 15;

void WriteFile(const fs::path& file, const std::string& content) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string DataFile(int nameIndex, int item) {
    std::string text = std::to_string(nameIndex) + " 1 // name\r\nweapon\r\n";
    text += std::to_string(20 + item % 20) + " // magazine\r\n";
    text += std::to_string(item % 7 == 0 ? 1 : 600 + item % 300) + " // rate of fire\r\n";
    for (int line = 5; line <= 14; ++line) {
        text += std::to_string(line) + ".25 // ballistics\r\n";
    }
    text += std::to_string((item % 30) / 10.0) + " // accuracy\r\n";
    text += std::to_string((item % 40) / 10.0) + " // recoil\r\n";
    text += std::to_string((item % 35) / 10.0) + " // reticle\r\n";
    text += "3 // sound\r\n1.5 // zoom\r\nend\r\n";
    return text;
}

// A win32 prefix with the game's key and a kit in C:\Game.
fs::path MakeInstallation() {
    std::string pattern = (fs::temp_directory_path() / "kitdata-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    const fs::path root = pattern;
    fs::create_directories(root / "drive_c");
    fs::create_directories(root / "dosdevices");
    fs::create_directory_symlink("../drive_c", root / "dosdevices" / "c:");

    std::string registry =
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win32\n\n"
        "[Software\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] 1700000000\n";
    for (const char* name :
         {"ActorPath", "BitmapPath", "ActionMusicPath", "SoundPath", "TextPath"}) {
        registry += "\"" + std::string(name) + "\"=\"C:\\\\Game\\\\data\\\\other\"\n";
    }
    registry += "\"EquipmentPath\"=\"C:\\\\Game\\\\data\\\\equipment\"\n";
    registry += "\"EquipTextPath\"=\"C:\\\\Game\\\\data\\\\text\\\\equipment\"\n";
    registry += "\"InstallationPath\"=\"C:\\\\Game\\\\\"\n";
    WriteFile(root / "system.reg", registry);

    const fs::path equipment = root / "drive_c/Game/data/equipment";
    const fs::path english = root / "drive_c/Game/data/text/equipment/english";
    std::string names = "// names\r\n";
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        std::string items = "// items\r\n\"header.txt\" \"HEADER\" \"\"\r\n";
        std::string kit = "// kit\r\n\r\n";
        for (int item = 0; item < kItemsPerTab; ++item) {
            const std::string id = std::to_string(tab) + "_" + std::to_string(item);
            const std::string mark = item % 3 == 0 ? "//" : "";
            items +=
                mark + "\"item" + id + ".txt\"\t\"ITEM" + id + "\"\t\"item" + id + ".atr\"\r\n";
            kit += mark + "\"item" + id + ".txt\"\r\n";
            const int nameIndex = tab * kItemsPerTab + item;
            names += "\"Item name " + id + "\"\r\n";
            WriteFile(equipment / ("item" + id + ".atr"), DataFile(nameIndex, item));
        }
        WriteFile(equipment / kitdata::ItemFileName(tab), items);
        WriteFile(english / kitdata::KitListFileName(tab), kit);
    }
    WriteFile(english / "equipment.txt", names);
    return root;
}

// The floor under the read: opening and reading every file the read opens,
// with nothing parsed or resolved.
double RawReadMilliseconds(const fs::path& root) {
    const auto start = std::chrono::steady_clock::now();
    std::size_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "drive_c")) {
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            bytes += std::string(std::istreambuf_iterator<char>(in), {}).size();
        }
    }
    const auto end = std::chrono::steady_clock::now();
    return bytes > 0 ? std::chrono::duration<double, std::milli>(end - start).count() : 0.0;
}

double Milliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void Report(const char* what, std::vector<double> times, double goal) {
    std::sort(times.begin(), times.end());
    std::printf("%-40s best %7.2f ms  median %7.2f ms  (goal < %.0f ms)\n", what, times.front(),
                times[times.size() / 2], goal);
}

}  // namespace

int main() {
    const fs::path root = MakeInstallation();
    const platform::WinePrefix prefix = platform::LoadPrefix(root);
    // Save backs the files up in the user's data folder; the benchmark's
    // backups stay in its own folder and go with it.
    ::setenv("XDG_DATA_HOME", (root / "data-home").c_str(), 1);

    std::vector<double> rawTimes;
    for (int run = 0; run < kRuns; ++run) {
        rawTimes.push_back(RawReadMilliseconds(root));
    }
    std::vector<double> readTimes;
    std::vector<double> saveTimes;
    std::size_t rows = 0;
    bool saved = true;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const kitdata::GamePaths paths = kitdata::ReadGamePaths(prefix);
        const auto names = kitdata::LoadItemNames(prefix, paths);
        const std::vector<std::string> table = names ? names.value() : std::vector<std::string>{};
        kitdata::TabTicks ticks;
        rows = 0;
        for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
            const kitdata::ItemList list = kitdata::FillItemList(prefix, paths, table, tab);
            rows += list.rows.size();
            for (const kitdata::ItemRow& row : list.rows) {
                // Flip every tick, so that each save really changes the files.
                ticks[tab].push_back({row.cells[kitdata::kTextColumn], !row.checked});
            }
        }
        const auto read = std::chrono::steady_clock::now();
        const platform::Status status = kitdata::SaveKitLists(prefix, paths, ticks);
        const auto end = std::chrono::steady_clock::now();
        if (!status) {
            std::fprintf(stderr, "save failed: %s\n", status.error().Describe().c_str());
            saved = false;
            break;
        }
        readTimes.push_back(Milliseconds(read - start));
        saveTimes.push_back(Milliseconds(end - read));
    }

    std::error_code error;
    fs::remove_all(root, error);
    if (!saved || rows != static_cast<std::size_t>(kitdata::kTabCount * kItemsPerTab)) {
        std::fprintf(stderr, "expected %d rows, read %zu\n", kitdata::kTabCount * kItemsPerTab,
                     rows);
        return 1;
    }
    std::printf("%d items per tab, %d runs\n", kItemsPerTab, kRuns);
    Report("read (paths, names, three lists)", readTimes, 100);
    std::sort(rawTimes.begin(), rawTimes.end());
    std::printf("%-40s best %7.2f ms  median %7.2f ms\n",
                "  for comparison: open and read the files", rawTimes.front(),
                rawTimes[rawTimes.size() / 2]);
    Report("save (six files)", saveTimes, 50);
    return 0;
}
