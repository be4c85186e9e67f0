#pragma once
// Backups of the kit files: before Save replaces the six files, their current
// bytes are copied into a folder of their own under the user's data folder,
// and only the newest backups are kept.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_operations.h"
#include "platform/result.h"

namespace kitdata {

constexpr int kKeptBackups = 10;

// The file in each backup that says where every file came from, one
// "<name><TAB><path>" line each, so that a backup can be put back.
constexpr char kBackupOriginsFile[] = "origins.txt";

// Where backups go: $XDG_DATA_HOME/loadwise/backups, or
// ~/.local/share/loadwise/backups when XDG_DATA_HOME is unset, empty or not
// an absolute path (which the XDG base directory rules say to ignore).
std::filesystem::path BackupsFolder();

// The name of a backup taken at a moment: its UTC time as
// "YYYY-MM-DD_HH-MM-SSZ", with "_02" ... "_99" added for further backups
// within the same second (attempt 1 has no suffix). Names sort by time.
std::string BackupName(std::chrono::system_clock::time_point moment, int attempt);

// True for names BackupName gives; only such folders are ever removed.
bool IsBackupName(const std::string& name);

// Copies the files, byte for byte, into a new folder under backupsFolder
// named by BackupName. The folder appears only complete: the files are
// written and flushed in a hidden folder that is renamed when all are there.
// On failure no backup folder is left and the error says what failed. Gives
// the new folder. Old backups are left to RemoveOldBackups, which the caller
// runs once the backup has served its purpose (a save that fails before it
// changes anything removes its backup instead, so that it never pushes a real
// one out).
platform::Result<std::filesystem::path> BackUpFiles(
    const std::vector<std::filesystem::path>& files, const std::filesystem::path& backupsFolder,
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now(),
    platform::FileOperations& operations = platform::RealFileOperations());

// True when the backup holds the files, from the same places and byte for byte.
bool BackupHolds(const std::vector<std::filesystem::path>& files,
                 const std::filesystem::path& backup);

// True when the newest backup under backupsFolder already holds the files:
// a new backup would add nothing.
bool NewestBackupHolds(const std::vector<std::filesystem::path>& files,
                       const std::filesystem::path& backupsFolder);

// Removes the backups beyond the newest kKeptBackups, never keep (the one
// just made) and never the first backup of an installation (the oldest with
// its origins: the files as they were before Loadwise first changed them),
// and what a killed backup left. Failures are let go: an old backup that
// stays does no harm.
void RemoveOldBackups(const std::filesystem::path& backupsFolder,
                      const std::filesystem::path& keep);

// The backups under backupsFolder, oldest first.
std::vector<std::filesystem::path> ListBackups(const std::filesystem::path& backupsFolder);

}  // namespace kitdata
