#pragma once
// What the registry has read in this process, so that a start reads and
// parses system.reg once however many keys it opens, and asks a running
// wineserver once for the keys that lie side by side.

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry/registry_text_p.h"
#include "platform/result.h"

namespace platform::registry_detail {

// system.reg parsed. The parse serves every later call while the file is
// the same one (device and inode: an atomic replacement is a new file) with
// the same size and modification time. Calls take turns: one made while
// another thread parses the file waits for that parse and gets it.
Result<std::shared_ptr<const RegistryText>> CachedRegistryFile(const std::filesystem::path& file);

// A key tree as `wine reg export` gave it: every key by its path below the
// exported key (folded; the exported key itself is ""), with its values.
using ExportedTree = std::map<std::u16string, std::vector<Value>>;

// An export answers the reads that follow it this long: the reads of one
// start, not those of a window left open while the game changes its values.
inline constexpr std::chrono::seconds kExportFreshFor{5};

// The export of the key (folded, as given to reg) made for the prefix less
// than kExportFreshFor ago, or nothing.
std::shared_ptr<const ExportedTree> CachedExport(const std::filesystem::path& prefixFolder,
                                                 const std::u16string& foldedKey);
void RememberExport(const std::filesystem::path& prefixFolder, const std::u16string& foldedKey,
                    std::shared_ptr<const ExportedTree> tree);

// Drops everything kept for the prefix: after a write of ours, the next read
// reads again.
void ForgetCachedRegistry(const std::filesystem::path& prefixFolder);

}  // namespace platform::registry_detail
