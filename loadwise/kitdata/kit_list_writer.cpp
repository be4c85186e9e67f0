#include "loadwise/kitdata/kit_list_writer.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "loadwise/kitdata/item_line.h"
#include "loadwise/kitdata/kit_backup.h"
#include "loadwise/kitdata/text_compare.h"
#include "platform/file_replacement.h"
#include "platform/text_file.h"
#include "platform/windows_path.h"

namespace kitdata {
namespace {

constexpr std::string_view kSwitchOffMark = "//";

std::size_t FirstItemLine(const std::vector<std::string>& lines, std::size_t from) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (IsItemLine(lines[i])) {
            return i;
        }
    }
    return lines.size();
}

// The ticks by key, folded so that keys equal under EqualNoCase meet; the
// first row (in the list's current order) with a key decides for it.
class TickTable {
  public:
    explicit TickTable(const std::vector<RowTick>& ticks) {
        table_.reserve(ticks.size());
        for (const RowTick& tick : ticks) {
            table_.emplace(FoldedKey(tick.key), tick.checked);
        }
    }
    std::optional<bool> Find(std::string_view key) const {
        const auto row = table_.find(FoldedKey(key));
        if (row == table_.end()) {
            return std::nullopt;
        }
        return row->second;
    }

  private:
    static std::string FoldedKey(std::string_view key) { return FoldAsciiCase(key); }

    std::unordered_map<std::string, bool> table_;
};

// Each line is judged by its own mark: anything but a switched-off item line
// counts as active.
void SetMark(std::string& line, bool checked) {
    const bool switchedOff = ClassifyLine(line) == LineKind::SwitchedOff;
    if (!checked && !switchedOff) {
        line.insert(0, kSwitchOffMark);
    } else if (checked && switchedOff) {
        line.erase(0, kSwitchOffMark.size());
    }
}

platform::Result<std::vector<std::string>> ReadLines(const platform::WinePrefix& prefix,
                                                     const std::string& windowsPath) {
    return platform::ReadTextLines(platform::ResolveWindowsPath(prefix, windowsPath));
}

}  // namespace

KitFilePair SwitchItemMarks(const KitFilePair& files, const std::vector<RowTick>& ticks) {
    KitFilePair result = files;
    // The item file's head runs up to its second item line: the first one is
    // the header, which belongs to no row, and whatever stands between the
    // header and the first item (blank lines, comments) belongs to the head
    // too. The kit list's head ends before its first item line. After the
    // heads, lines pair up by position.
    const std::size_t headerLine = FirstItemLine(files.itemLines, 0);
    const std::size_t itemStart =
        FirstItemLine(files.itemLines, std::min(headerLine + 1, files.itemLines.size()));
    const std::size_t kitStart = FirstItemLine(files.kitLines, 0);
    const TickTable table(ticks);

    for (std::size_t i = itemStart; i < result.itemLines.size(); ++i) {
        std::string& itemLine = result.itemLines[i];
        if (!IsItemLine(itemLine)) {
            continue;
        }
        const std::optional<bool> checked = table.Find(ItemKey(itemLine));
        if (!checked) {
            continue;
        }
        SetMark(itemLine, *checked);
        const std::size_t kitIndex = kitStart + (i - itemStart);
        if (kitIndex < result.kitLines.size()) {
            SetMark(result.kitLines[kitIndex], *checked);
        }
    }
    return result;
}

platform::Status SaveKitLists(const platform::WinePrefix& prefix, const GamePaths& paths,
                              const TabTicks& ticks, platform::FileOperations& operations) {
    std::vector<platform::FileReplacement> replacements;
    for (int tab = 0; tab < kTabCount; ++tab) {
        const std::string itemPath = ItemFilePath(paths, tab);
        const std::string kitPath = KitListPath(paths, tab);
        auto itemLines = ReadLines(prefix, itemPath);
        if (!itemLines) {
            return itemLines.error();
        }
        auto kitLines = ReadLines(prefix, kitPath);
        if (!kitLines) {
            return kitLines.error();
        }
        const KitFilePair switched = SwitchItemMarks(
            {std::move(itemLines).value(), std::move(kitLines).value()}, ticks[tab]);
        replacements.push_back({platform::ResolveWindowsPath(prefix, itemPath),
                                platform::JoinTextLines(switched.itemLines)});
        replacements.push_back({platform::ResolveWindowsPath(prefix, kitPath),
                                platform::JoinTextLines(switched.kitLines)});
    }
    // A save refused before writing leaves no backup; so does one whose
    // files the newest backup already holds.
    if (platform::Status checked = platform::CheckReplaceable(replacements); !checked) {
        return checked;
    }
    std::vector<std::filesystem::path> originals;
    for (const platform::FileReplacement& replacement : replacements) {
        originals.push_back(replacement.file);
    }
    const std::filesystem::path backups = BackupsFolder();
    std::optional<std::filesystem::path> made;
    if (!NewestBackupHolds(originals, backups)) {
        auto backup = BackUpFiles(originals, backups);
        if (!backup) {
            return backup.error();
        }
        made = std::move(backup).value();
    }
    const platform::Status replaced = platform::ReplaceFiles(replacements, operations);
    // A save that failed before it changed anything drops its backup, which
    // would only push a real one out. One that failed after replacing some
    // files (a rename failed) keeps it, and says so.
    const bool changedNothing =
        !replaced && (made ? BackupHolds(originals, *made) : NewestBackupHolds(originals, backups));
    if (made && changedNothing) {
        std::error_code ignored;
        std::filesystem::remove_all(*made, ignored);
    } else if (made) {
        RemoveOldBackups(backups, *made);
    }
    if (replaced || changedNothing) {
        return replaced;
    }
    platform::Error error = replaced.error();
    error.why +=
        "; the files before it were already replaced, and a backup of how they were is in " +
        (made ? *made : backups).string();
    return error;
}

}  // namespace kitdata
