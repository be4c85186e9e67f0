#include "loadwise/kitdata/kit_backup.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>

#include "platform/file_read.h"
#include "platform/file_replacement.h"
#include "platform/user_folders.h"

namespace fs = std::filesystem;

namespace kitdata {
namespace {

constexpr int kMostBackupsPerSecond = 99;
constexpr std::string_view kIncompleteSuffix = ".incomplete";
// 'd' stands for a digit; every other character stands for itself.
constexpr std::string_view kNameTemplate = "dddd-dd-dd_dd-dd-ddZ";
constexpr std::string_view kAttemptTemplate = "_dd";

bool MatchesTemplate(std::string_view text, std::string_view pattern) {
    if (text.size() != pattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == 'd' ? !digit : text[i] != pattern[i]) {
            return false;
        }
    }
    return true;
}

// The hidden folder a backup is written in before it gets its name.
std::string IncompleteName(const std::string& name) {
    return "." + name + std::string(kIncompleteSuffix);
}

bool IsIncompleteName(const std::string& name) {
    if (!name.starts_with('.') || !name.ends_with(kIncompleteSuffix)) {
        return false;
    }
    return IsBackupName(name.substr(1, name.size() - 1 - kIncompleteSuffix.size()));
}

// The origins file's text for the files: "<name><TAB><path>" lines.
std::string OriginsText(const std::vector<fs::path>& files) {
    std::string origins;
    for (const fs::path& file : files) {
        origins += file.filename().string() + "\t" + file.string() + "\n";
    }
    return origins;
}

}  // namespace

fs::path BackupsFolder() {
    return platform::XdgFolder("XDG_DATA_HOME", ".local/share") / "loadwise" / "backups";
}

std::string BackupName(std::chrono::system_clock::time_point moment, int attempt) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char name[32];
    std::strftime(name, sizeof name, "%Y-%m-%d_%H-%M-%SZ", &utc);
    std::string result = name;
    if (attempt > 1) {
        result += attempt < 10 ? "_0" : "_";
        result += std::to_string(attempt);
    }
    return result;
}

bool IsBackupName(const std::string& name) {
    const std::string_view text = name;
    if (text.size() == kNameTemplate.size()) {
        return MatchesTemplate(text, kNameTemplate);
    }
    return text.size() == kNameTemplate.size() + kAttemptTemplate.size() &&
           MatchesTemplate(text.substr(0, kNameTemplate.size()), kNameTemplate) &&
           MatchesTemplate(text.substr(kNameTemplate.size()), kAttemptTemplate);
}

std::vector<fs::path> ListBackups(const fs::path& backupsFolder) {
    std::vector<fs::path> backups;
    std::error_code error;
    for (fs::directory_iterator it(backupsFolder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code entryError;
        if (IsBackupName(it->path().filename().string()) && it->is_directory(entryError)) {
            backups.push_back(it->path());
        }
    }
    std::sort(backups.begin(), backups.end());
    return backups;
}

platform::Result<fs::path> BackUpFiles(const std::vector<fs::path>& files,
                                       const fs::path& backupsFolder,
                                       std::chrono::system_clock::time_point now,
                                       platform::FileOperations& operations) {
    std::vector<platform::FileReplacement> copies;
    std::set<fs::path> names;
    for (const fs::path& file : files) {
        auto bytes = platform::ReadWholeFile(file);
        if (!bytes) {
            return bytes.error();
        }
        if (!names.insert(file.filename()).second || file.filename() == kBackupOriginsFile) {
            return platform::Error{file.string(), "Another file to back up has the same name"};
        }
        copies.push_back({file.filename(), std::move(bytes).value()});
    }
    copies.push_back({kBackupOriginsFile, OriginsText(files)});

    std::error_code error;
    fs::create_directories(backupsFolder, error);
    if (error) {
        return platform::Error{backupsFolder.string(), error.message()};
    }

    // The first name of this second that neither a backup nor a backup being
    // written has; creating the hidden folder claims it.
    fs::path backup;
    fs::path incomplete;
    for (int attempt = 1; attempt <= kMostBackupsPerSecond && incomplete.empty(); ++attempt) {
        const std::string name = BackupName(now, attempt);
        if (fs::exists(backupsFolder / name, error)) {
            continue;
        }
        if (fs::create_directory(backupsFolder / IncompleteName(name), error)) {
            backup = backupsFolder / name;
            incomplete = backupsFolder / IncompleteName(name);
        } else if (error) {
            return platform::Error{backupsFolder.string(), error.message()};
        }
    }
    if (incomplete.empty()) {
        return platform::Error{backupsFolder.string(), "Too many backups within one second"};
    }

    for (platform::FileReplacement& copy : copies) {
        copy.file = incomplete / copy.file;
    }
    platform::Status status = platform::ReplaceFiles(copies, operations);
    if (status) {
        status = operations.Rename(incomplete, backup);
    }
    if (!status) {
        fs::remove_all(incomplete, error);
        return platform::Error{"Backup to " + backup.string(), status.error().why};
    }
    return backup;
}

bool BackupHolds(const std::vector<fs::path>& files, const fs::path& backup) {
    const auto origins = platform::ReadWholeFile(backup / kBackupOriginsFile);
    if (!origins || *origins != OriginsText(files)) {
        return false;
    }
    for (const fs::path& file : files) {
        const auto kept = platform::ReadWholeFile(backup / file.filename());
        const auto current = platform::ReadWholeFile(file);
        if (!kept || !current || *kept != *current) {
            return false;
        }
    }
    return true;
}

bool NewestBackupHolds(const std::vector<fs::path>& files, const fs::path& backupsFolder) {
    const std::vector<fs::path> backups = ListBackups(backupsFolder);
    return !backups.empty() && BackupHolds(files, backups.back());
}

void RemoveOldBackups(const fs::path& backupsFolder, const fs::path& keep) {
    const std::vector<fs::path> backups = ListBackups(backupsFolder);
    // The first backup of each installation, told apart by where its files came from.
    std::set<std::string> installations;
    std::set<fs::path> firsts;
    for (const fs::path& backup : backups) {
        const auto origins = platform::ReadWholeFile(backup / kBackupOriginsFile);
        if (origins && installations.insert(*origins).second) {
            firsts.insert(backup);
        }
    }
    std::vector<fs::path> others = backups;
    std::erase(others, keep);
    std::error_code error;
    for (std::size_t i = 0; i + kKeptBackups < others.size() + 1; ++i) {
        if (!firsts.contains(others[i])) {
            fs::remove_all(others[i], error);
        }
    }
    for (fs::directory_iterator it(backupsFolder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code entryError;
        if (IsIncompleteName(it->path().filename().string()) && it->is_directory(entryError)) {
            fs::remove_all(it->path(), entryError);
        }
    }
}

}  // namespace kitdata
