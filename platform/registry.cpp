#include "platform/registry.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_read.h"
#include "platform/file_replacement.h"
#include "platform/registry/registry_cache_p.h"
#include "platform/registry/registry_export_p.h"
#include "platform/registry/registry_text_p.h"
#include "platform/registry/registry_writer_p.h"
#include "platform/wine_registry_command.h"
#include "platform/wineserver.h"

namespace platform {

struct RegistryKey::Values {
    std::vector<registry_detail::Value> values;  // later entries win, as wineserver loads them
};

namespace {

using registry_detail::FoldRegistryNameCase;
using registry_detail::RegistryText;

// Links are followed this many times at most; Wine's own links go one step.
constexpr int kMaxLinkDepth = 16;

RegResult Fail(RegStatus status, std::string why, int code = 0) {
    return {status, Error{std::move(why), "", code}};
}

RegResult Fail(RegStatus status, const Error& error) {
    return {status, Error{error.Describe(), "", error.code}};
}

RegResult Succeed() {
    return RegStatus::Success;
}

// True when path is prefix itself or lies below it (both folded).
bool IsAtOrBelow(std::u16string_view path, std::u16string_view prefix) {
    return path.size() >= prefix.size() && path.substr(0, prefix.size()) == prefix &&
           (path.size() == prefix.size() || path[prefix.size()] == u'\\');
}

// HKLM\Software\X as a 32-bit program sees it in a win64 prefix.
std::u16string ApplyView(std::u16string path, bool win64) {
    if (!win64) {
        return path;
    }
    const std::u16string folded = FoldRegistryNameCase(path);
    if (!IsAtOrBelow(folded, u"SOFTWARE") || IsAtOrBelow(folded, u"SOFTWARE\\WOW6432NODE")) {
        return path;
    }
    return path.substr(0, 8) + u"\\Wow6432Node" + path.substr(8);
}

// The key a #link key points to ("\REGISTRY\Machine\Software\..."), if it
// lies in HKEY_LOCAL_MACHINE.
std::optional<std::u16string> LinkTarget(const RegistryText& file,
                                         const registry_detail::KeyBlock& link) {
    static const std::u16string kMachine = u"\\REGISTRY\\MACHINE\\";
    for (const auto& value : file.ReadValues(link)) {
        if (value.type != registry_detail::kRegLink ||
            FoldRegistryNameCase(value.name) != u"SYMBOLICLINKVALUE") {
            continue;
        }
        const std::u16string target = Utf16LeUnits(value.data);
        if (FoldRegistryNameCase(target).starts_with(kMachine)) {
            return registry_detail::TrimTrailingBackslashes(target.substr(kMachine.size()));
        }
    }
    return std::nullopt;
}

// Follows links on the way to the key. Nothing when a link leads outside
// HKEY_LOCAL_MACHINE or round in circles.
std::optional<std::u16string> FollowLinks(const RegistryText& file, std::u16string path) {
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        const std::u16string folded = FoldRegistryNameCase(path);
        const registry_detail::KeyBlock* link = nullptr;
        for (const registry_detail::KeyBlock* key : file.LinkKeys()) {
            if (IsAtOrBelow(folded, key->foldedPath)) {
                link = key;
                break;
            }
        }
        if (link == nullptr) {
            return path;
        }
        const auto target = LinkTarget(file, *link);
        if (!target) {
            return std::nullopt;
        }
        path = *target + path.substr(link->path.size());
    }
    return std::nullopt;
}

// A key exists when it has a block of its own or one of its subkeys has
// (wineserver leaves out keys that hold nothing but subkeys).
bool KeyExists(const RegistryText& file, std::u16string_view foldedPath) {
    return foldedPath.empty() || file.FindKey(foldedPath).atOrBelow;
}

// Appends a block for a key that exists only through its subkeys.
std::string WithNewKeyBlock(const RegistryText& file, std::u16string_view keyPath,
                            std::u16string_view name, std::u16string_view text) {
    const std::string_view lineEnd = file.NewLineEnd();
    std::string content = file.content();
    if (!content.empty() && content.back() != '\n') {
        content += lineEnd;
    }
    const std::time_t now = std::time(nullptr);
    // #time is a FILETIME: 100 ns ticks since 1601.
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now) + 11644473600ULL) * 10000000ULL;
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "] %llu", static_cast<unsigned long long>(now));
    char time[64];
    std::snprintf(time, sizeof time, "#time=%llx", ticks);
    content += lineEnd;
    content += "[" + registry_detail::Escape(keyPath, "[]") + stamp;
    content += lineEnd;
    content += time;
    content += lineEnd;
    content += (name.empty() ? "@" : "\"" + registry_detail::Escape(name, "\"\"") + "\"") + "=\"" +
               registry_detail::Escape(text, "\"\"") + "\"";
    content += lineEnd;
    return content;
}

RegResult SetThroughWine(const WinePrefix& prefix, const std::string& subKey, std::string_view name,
                         std::string_view text) {
    const Status status = WineRegAddString(prefix, subKey, name, text);
    if (!status) {
        return Fail(RegStatus::Failed, status.error());
    }
    return Succeed();
}

// The key that is exported to read a key through the server: a product's
// key (SOFTWARE\Vendor\Product) comes with its vendor's, so that the
// products of one vendor that a start reads take one `reg export`. The
// vendor keys of Windows itself hold most of the registry and are never
// exported whole.
std::u16string ExportedKeyFor(std::u16string_view foldedKey) {
    const std::size_t vendorEnd = foldedKey.find(u'\\', 9);
    const bool product = foldedKey.starts_with(u"SOFTWARE\\") &&
                         vendorEnd != std::u16string::npos &&
                         foldedKey.find(u'\\', vendorEnd + 1) == std::u16string::npos;
    const std::u16string_view vendor = foldedKey.substr(0, vendorEnd);
    if (!product || vendor == u"SOFTWARE\\MICROSOFT" || vendor == u"SOFTWARE\\WOW6432NODE" ||
        vendor == u"SOFTWARE\\CLASSES") {
        return std::u16string(foldedKey);
    }
    return std::u16string(vendor);
}

// A key name without its trailing backslashes, which name no key of their own.
std::string WithoutTrailingBackslashes(std::string_view subKey) {
    while (!subKey.empty() && subKey.back() == '\\') {
        subKey.remove_suffix(1);
    }
    return std::string(subKey);
}

std::vector<std::string>& KeysReadTogether() {
    static std::vector<std::string> keys;
    return keys;
}

// The key a key is read through (ExportedKeyFor), spelled as the program
// spells it, and folded.
std::pair<std::string, std::u16string> ExportFor(std::string_view subKey) {
    const std::string trimmed = WithoutTrailingBackslashes(subKey);
    const std::u16string exported = ExportedKeyFor(FoldRegistryNameCase(Cp1252ToUtf16(trimmed)));
    return {trimmed.substr(0, exported.size()), exported};
}

// While a wineserver runs, system.reg may be half a minute behind it: the
// key is read through the server instead, from an export made for an
// earlier key of this start when it holds this one. An export that is made
// makes those of the keys read together beside it.
RegResult ReadThroughWine(const WinePrefix& prefix, const std::string& trimmedSubKey,
                          std::vector<registry_detail::Value>& values) {
    const std::u16string folded = FoldRegistryNameCase(Cp1252ToUtf16(trimmedSubKey));
    const auto [name, exported] = ExportFor(trimmedSubKey);
    std::shared_ptr<const registry_detail::ExportedTree> tree =
        registry_detail::CachedExport(prefix.folder, exported);
    if (tree == nullptr) {
        std::vector<std::string> names{name};
        std::vector<std::u16string> keys{exported};
        for (const std::string& together : KeysReadTogether()) {
            auto [otherName, other] = ExportFor(together);
            if (std::find(keys.begin(), keys.end(), other) == keys.end() &&
                registry_detail::CachedExport(prefix.folder, other) == nullptr) {
                names.push_back(std::move(otherName));
                keys.push_back(std::move(other));
            }
        }
        auto exports = WineRegExports(prefix, names);
        for (std::size_t i = 1; i < exports.size(); ++i) {
            // The others are kept when they could be read (a key that is not
            // there as an empty tree); their own read says what went wrong
            // otherwise.
            if (!exports[i]) {
                continue;
            }
            std::optional<registry_detail::ExportedTree> read;
            if (exports[i]->has_value()) {
                read = registry_detail::ReadRegExport(**exports[i]);
            } else {
                read.emplace();
            }
            if (read) {
                registry_detail::RememberExport(
                    prefix.folder, keys[i],
                    std::make_shared<const registry_detail::ExportedTree>(std::move(*read)));
            }
        }
        const auto& bytes = exports.front();
        if (!bytes) {
            return Fail(RegStatus::Failed, bytes.error());
        }
        if (!bytes->has_value()) {
            return Fail(RegStatus::NotFound, "HKEY_LOCAL_MACHINE\\" + name + ": no such key");
        }
        auto read = registry_detail::ReadRegExport(**bytes);
        if (!read) {
            return Fail(RegStatus::Failed, "wine reg export: not a registry export");
        }
        tree = std::make_shared<const registry_detail::ExportedTree>(std::move(*read));
        registry_detail::RememberExport(prefix.folder, exported, tree);
    }
    const std::u16string below =
        folded.size() > exported.size() ? folded.substr(exported.size() + 1) : u"";
    const auto found = tree->find(below);
    if (found == tree->end()) {
        return Fail(RegStatus::NotFound, "HKEY_LOCAL_MACHINE\\" + trimmedSubKey + ": no such key");
    }
    values = found->second;
    return Succeed();
}

// A server in a launcher's Flatpak sandbox: no Wine here reaches it, and it
// saves its own copy over the file, so neither way would keep the value.
RegResult RefuseForSandboxedServer(const WinePrefix& prefix) {
    return Fail(RegStatus::Failed, prefix.folder.string() + ": " + kSandboxedServerExplanation);
}

// The value set in the file, or through the server while one runs.
RegResult SetStringValue(const WinePrefix& prefix, const std::string& keyPathUtf8,
                         const std::string& subKey, std::string_view valueName,
                         std::string_view text) {
    const std::filesystem::path systemReg = prefix.folder / "system.reg";
    const std::u16string keyPath = Utf8ToUtf16(keyPathUtf8);
    const std::u16string name = Cp1252ToUtf16(valueName);
    const std::u16string data = Cp1252ToUtf16(text);

    // A running wineserver owns the registry: it saves its own copy over any
    // file edit, so the value goes through it. Otherwise the file is ours;
    // should a server start while we write, the file is left alone and the
    // value goes through that server instead. A server in a Flatpak sandbox
    // is found there too, just before the file would be replaced.
    if (IsWineserverRunning(prefix.folder)) {
        return SetThroughWine(prefix, subKey, valueName, text);
    }
    const auto content = ReadWholeFile(systemReg);
    if (!content) {
        return Fail(RegStatus::Failed, content.error());
    }
    const RegistryText file(std::move(*content));
    if (!file.HasValidHeader()) {
        return Fail(RegStatus::Failed, systemReg.string() + ": not a Wine registry file");
    }
    std::optional<std::string> changed =
        registry_detail::WithStringValue(file, keyPath, name, data);
    if (!changed) {
        if (!KeyExists(file, FoldRegistryNameCase(keyPath))) {
            return Fail(RegStatus::NotFound,
                        "HKEY_LOCAL_MACHINE\\" + subKey + ": the key no longer exists");
        }
        changed = WithNewKeyBlock(file, keyPath, name, data);
    }
    const Status replaced =
        ReplaceFiles({{systemReg, std::move(*changed)}}, RealFileOperations(), [&] {
            return !IsWineserverRunning(prefix.folder) &&
                   !IsWineserverRunningInSandbox(prefix.folder);
        });
    if (replaced) {
        return Succeed();
    }
    switch (replaced.error().code) {
        case ECANCELED:  // a server started meanwhile
            return IsWineserverRunning(prefix.folder)
                       ? SetThroughWine(prefix, subKey, valueName, text)
                       : RefuseForSandboxedServer(prefix);
        case EACCES:
        case EPERM:
        case EROFS:
            return Fail(RegStatus::AccessDenied, replaced.error());
        default:
            return Fail(RegStatus::Failed, replaced.error());
    }
}

// A key as system.reg holds it on disk, view and links applied.
struct SavedKey {
    std::shared_ptr<const RegistryText> file;  // keeps the match's blocks
    std::u16string path;
    RegistryText::KeyMatch match;
};

RegResult FindSavedKey(const WinePrefix& prefix, const std::string& trimmedSubKey,
                       SavedKey& found) {
    const std::filesystem::path systemReg = prefix.folder / "system.reg";
    auto parsed = registry_detail::CachedRegistryFile(systemReg);
    if (!parsed) {
        return Fail(RegStatus::NotFound, parsed.error());
    }
    found.file = std::move(*parsed);
    if (!found.file->HasValidHeader()) {
        return Fail(RegStatus::NotFound, systemReg.string() + ": not a Wine registry file");
    }
    const auto path =
        FollowLinks(*found.file, ApplyView(Cp1252ToUtf16(trimmedSubKey), prefix.win64));
    const std::u16string folded = path ? FoldRegistryNameCase(*path) : std::u16string();
    found.match = found.file->FindKey(folded);
    if (!path || !(folded.empty() || found.match.atOrBelow)) {
        return Fail(RegStatus::NotFound, "HKEY_LOCAL_MACHINE\\" + trimmedSubKey + ": no such key");
    }
    found.path = *path;
    return Succeed();
}

}  // namespace

bool RegKeyInSavedFile(const WinePrefix& prefix, std::string_view subKey) {
    SavedKey found;
    return FindSavedKey(prefix, WithoutTrailingBackslashes(subKey), found) == RegStatus::Success;
}

RegResult RegOpenKey(const WinePrefix& prefix, std::string_view subKey, KeyAccess access,
                     RegistryKey& key) {
    RegCloseKey(key);
    std::string trimmedSubKey = WithoutTrailingBackslashes(subKey);
    if (IsWineserverRunning(prefix.folder)) {
        auto values = std::make_shared<RegistryKey::Values>();
        const RegResult status = ReadThroughWine(prefix, trimmedSubKey, values->values);
        if (status != RegStatus::Success) {
            return status;
        }
        key.open_ = true;
        key.access_ = access;
        key.prefix_ = prefix;
        key.keyPath_ = Utf16ToUtf8(ApplyView(Cp1252ToUtf16(trimmedSubKey), prefix.win64));
        key.subKey_ = std::move(trimmedSubKey);
        key.values_ = std::move(values);
        return Succeed();
    }
    SavedKey found;
    if (const RegResult status = FindSavedKey(prefix, trimmedSubKey, found);
        status != RegStatus::Success) {
        return status;
    }
    const std::filesystem::path systemReg = prefix.folder / "system.reg";
    if (access == KeyAccess::SetValue &&
        (::access(systemReg.c_str(), W_OK) != 0 || ::access(prefix.folder.c_str(), W_OK) != 0)) {
        return Fail(RegStatus::AccessDenied,
                    systemReg.string() + ": no permission to change the registry");
    }

    auto values = std::make_shared<RegistryKey::Values>();
    for (const registry_detail::KeyBlock* block : found.match.blocks) {
        auto blockValues = found.file->ReadValues(*block);
        values->values.insert(values->values.end(), blockValues.begin(), blockValues.end());
    }
    key.open_ = true;
    key.access_ = access;
    key.prefix_ = prefix;
    key.subKey_ = std::move(trimmedSubKey);
    key.keyPath_ = Utf16ToUtf8(found.path);
    key.values_ = std::move(values);
    return Succeed();
}

RegResult RegQueryValue(const RegistryKey& key, std::string_view valueName, char* buffer,
                        std::uint32_t& size) {
    if (!key.open_ || !key.values_) {
        return Fail(RegStatus::Failed, "the registry key is not open");
    }
    const std::u16string folded = FoldRegistryNameCase(Cp1252ToUtf16(valueName));
    const registry_detail::Value* found = nullptr;
    for (const auto& value : key.values_->values) {
        if (FoldRegistryNameCase(value.name) == folded) {
            found = &value;
        }
    }
    if (found == nullptr) {
        return Fail(RegStatus::NotFound, std::string(valueName) + ": no such value");
    }
    const std::string data = registry_detail::AnsiData(found->type, found->data);
    const std::uint32_t available = size;
    size = static_cast<std::uint32_t>(data.size());
    if (buffer == nullptr) {
        return Succeed();
    }
    if (data.size() > available) {
        return Fail(RegStatus::MoreData, std::string(valueName) + ": the value is too long");
    }
    std::memcpy(buffer, data.data(), data.size());
    return Succeed();
}

RegResult RegSetStringValue(const RegistryKey& key, std::string_view valueName,
                            std::string_view text) {
    if (!key.open_) {
        return Fail(RegStatus::Failed, "the registry key is not open");
    }
    if (key.access_ != KeyAccess::SetValue) {
        return Fail(RegStatus::AccessDenied, "the registry key is open for reading only");
    }
    const RegResult result =
        SetStringValue(key.prefix_, key.keyPath_, key.subKey_, valueName, text);
    // Whichever way the value went, and even when it failed half-way, what
    // was read before may be out of date now.
    registry_detail::ForgetCachedRegistry(key.prefix_.folder);
    return result;
}

void ReadKeysTogether(std::vector<std::string> subKeys) {
    KeysReadTogether() = std::move(subKeys);
}

void ReadRegistryAhead(const std::filesystem::path& prefixFolder) {
    if (const auto parsed = registry_detail::CachedRegistryFile(prefixFolder / "system.reg")) {
        (*parsed)->PrepareFindKey();
    }
}

void RegCloseKey(RegistryKey& key) {
    key = RegistryKey();
}

}  // namespace platform
