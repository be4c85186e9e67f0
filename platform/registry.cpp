#include "platform/registry.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/file_read.h"
#include "platform/file_replacement.h"
#include "platform/registry_file.h"
#include "platform/registry_writer.h"
#include "platform/wine_registry_command.h"
#include "platform/wineserver.h"

namespace platform {

struct RegistryKey::Values {
    std::vector<registry_file::Value> values;  // later entries win, as wineserver loads them
};

namespace {

using registry_file::FoldRegistryNameCase;
using registry_file::RegistryText;

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
                                         const registry_file::KeyBlock& link) {
    static const std::u16string kMachine = u"\\REGISTRY\\MACHINE\\";
    for (const auto& value : file.ReadValues(link)) {
        if (value.type != registry_file::kRegLink ||
            FoldRegistryNameCase(value.name) != u"SYMBOLICLINKVALUE") {
            continue;
        }
        std::u16string target;
        for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
            target += static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                            (static_cast<unsigned char>(value.data[i + 1]) << 8));
        }
        if (FoldRegistryNameCase(target).starts_with(kMachine)) {
            return registry_file::TrimTrailingBackslashes(target.substr(kMachine.size()));
        }
    }
    return std::nullopt;
}

// Follows links on the way to the key. Nothing when a link leads outside
// HKEY_LOCAL_MACHINE or round in circles.
std::optional<std::u16string> FollowLinks(const RegistryText& file, std::u16string path) {
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        const std::u16string folded = FoldRegistryNameCase(path);
        const registry_file::KeyBlock* link = nullptr;
        for (const auto& key : file.keys()) {
            if (key.isLink && IsAtOrBelow(folded, key.foldedPath)) {
                link = &key;
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
    if (foldedPath.empty()) {
        return true;
    }
    for (const auto& key : file.keys()) {
        if (IsAtOrBelow(key.foldedPath, foldedPath)) {
            return true;
        }
    }
    return false;
}

// Appends a block for a key that exists only through its subkeys.
std::string WithNewKeyBlock(const RegistryText& file, std::u16string_view keyPath,
                            std::u16string_view name, std::u16string_view text) {
    const std::string_view lineEnd = file.LineEnd(0).empty() ? "\n" : file.LineEnd(0);
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
    content += "[" + registry_file::Escape(keyPath, "[]") + stamp;
    content += lineEnd;
    content += time;
    content += lineEnd;
    content += (name.empty() ? "@" : "\"" + registry_file::Escape(name, "\"\"") + "\"") + "=\"" +
               registry_file::Escape(text, "\"\"") + "\"";
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

// The values of the first key block of a `reg export` file (the exported
// key's own; its subkeys' blocks follow). Its value lines are written as in
// system.reg (with fewer escapes), so the registry file's reader decodes
// them under a block header of our own.
std::optional<std::vector<registry_file::Value>> ExportedKeyValues(const std::string& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    if (!text.empty() && text.front() == u'\uFEFF') {
        text.erase(0, 1);
    }
    const std::string utf8 = registry_file::Utf16ToUtf8(text);
    if (!utf8.starts_with("Windows Registry Editor Version 5.00")) {
        return std::nullopt;
    }
    std::string block = "WINE REGISTRY Version 2\n[Exported] 0\n";
    bool inFirstBlock = false;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        end = end == std::string::npos ? utf8.size() : end;
        const std::string_view line = std::string_view(utf8).substr(start, end - start);
        start = end + 1;
        if (line.starts_with('[')) {
            if (inFirstBlock) {
                break;
            }
            inFirstBlock = true;
        } else if (inFirstBlock) {
            block += line;
            block += '\n';
        }
    }
    if (!inFirstBlock) {
        return std::nullopt;
    }
    const RegistryText file(std::move(block));
    return file.ReadValues(file.keys().front());
}

// While a wineserver runs, system.reg may be half a minute behind it: the
// key is read through the server instead.
RegResult ReadThroughWine(const WinePrefix& prefix, const std::string& trimmedSubKey,
                          std::vector<registry_file::Value>& values) {
    const auto exported = WineRegExport(prefix, trimmedSubKey);
    if (!exported) {
        return Fail(RegStatus::Failed, exported.error());
    }
    if (!exported->has_value()) {
        return Fail(RegStatus::NotFound, "HKEY_LOCAL_MACHINE\\" + trimmedSubKey + ": no such key");
    }
    auto read = ExportedKeyValues(**exported);
    if (!read) {
        return Fail(RegStatus::Failed, "wine reg export: not a registry export");
    }
    values = std::move(*read);
    return Succeed();
}

}  // namespace

RegResult RegOpenKey(const WinePrefix& prefix, std::string_view subKey, KeyAccess access,
                     RegistryKey& key) {
    RegCloseKey(key);
    std::string trimmedSubKey(subKey);
    while (!trimmedSubKey.empty() && trimmedSubKey.back() == '\\') {
        trimmedSubKey.pop_back();
    }
    if (IsWineserverRunning(prefix.folder)) {
        auto values = std::make_shared<RegistryKey::Values>();
        const RegResult status = ReadThroughWine(prefix, trimmedSubKey, values->values);
        if (status != RegStatus::Success) {
            return status;
        }
        key.open_ = true;
        key.access_ = access;
        key.prefix_ = prefix;
        key.keyPath_ = registry_file::Utf16ToUtf8(
            ApplyView(registry_file::Cp1252ToUtf16(trimmedSubKey), prefix.win64));
        key.subKey_ = std::move(trimmedSubKey);
        key.values_ = std::move(values);
        return Succeed();
    }
    const std::filesystem::path systemReg = prefix.folder / "system.reg";
    const auto content = ReadWholeFile(systemReg);
    if (!content) {
        return Fail(RegStatus::NotFound, content.error());
    }
    const RegistryText file(std::move(*content));
    if (!file.HasValidHeader()) {
        return Fail(RegStatus::NotFound, systemReg.string() + ": not a Wine registry file");
    }

    const auto path =
        FollowLinks(file, ApplyView(registry_file::Cp1252ToUtf16(trimmedSubKey), prefix.win64));
    const std::u16string folded = path ? FoldRegistryNameCase(*path) : std::u16string();
    if (!path || !KeyExists(file, folded)) {
        return Fail(RegStatus::NotFound, "HKEY_LOCAL_MACHINE\\" + trimmedSubKey + ": no such key");
    }

    if (access == KeyAccess::SetValue &&
        (::access(systemReg.c_str(), W_OK) != 0 || ::access(prefix.folder.c_str(), W_OK) != 0)) {
        return Fail(RegStatus::AccessDenied,
                    systemReg.string() + ": no permission to change the registry");
    }

    auto values = std::make_shared<RegistryKey::Values>();
    for (const auto& block : file.keys()) {
        if (block.foldedPath == folded) {
            auto blockValues = file.ReadValues(block);
            values->values.insert(values->values.end(), blockValues.begin(), blockValues.end());
        }
    }
    key.open_ = true;
    key.access_ = access;
    key.prefix_ = prefix;
    key.subKey_ = std::move(trimmedSubKey);
    key.keyPath_ = registry_file::Utf16ToUtf8(*path);
    key.values_ = std::move(values);
    return Succeed();
}

RegResult RegQueryValue(const RegistryKey& key, std::string_view valueName, char* buffer,
                        std::uint32_t& size) {
    if (!key.open_ || !key.values_) {
        return Fail(RegStatus::Failed, "the registry key is not open");
    }
    const std::u16string folded = FoldRegistryNameCase(registry_file::Cp1252ToUtf16(valueName));
    const registry_file::Value* found = nullptr;
    for (const auto& value : key.values_->values) {
        if (FoldRegistryNameCase(value.name) == folded) {
            found = &value;
        }
    }
    if (found == nullptr) {
        return Fail(RegStatus::NotFound, std::string(valueName) + ": no such value");
    }
    const std::string data = registry_file::AnsiData(found->type, found->data);
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
    const WinePrefix& prefix = key.prefix_;
    const std::filesystem::path systemReg = prefix.folder / "system.reg";
    const std::u16string keyPath = registry_file::Utf8ToUtf16(key.keyPath_);
    const std::u16string name = registry_file::Cp1252ToUtf16(valueName);
    const std::u16string data = registry_file::Cp1252ToUtf16(text);

    // A running wineserver owns the registry: it saves its own copy over any
    // file edit, so the value goes through it. Otherwise the file is ours;
    // should a server start while we write, the file is left alone and the
    // value goes through that server instead.
    if (IsWineserverRunning(prefix.folder)) {
        return SetThroughWine(prefix, key.subKey_, valueName, text);
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
        registry_writer::WithStringValue(file, keyPath, name, data);
    if (!changed) {
        if (!KeyExists(file, FoldRegistryNameCase(keyPath))) {
            return Fail(RegStatus::NotFound,
                        "HKEY_LOCAL_MACHINE\\" + key.subKey_ + ": the key no longer exists");
        }
        changed = WithNewKeyBlock(file, keyPath, name, data);
    }
    const Status replaced = ReplaceFiles({{systemReg, std::move(*changed)}}, RealFileOperations(),
                                         [&] { return !IsWineserverRunning(prefix.folder); });
    if (replaced) {
        return Succeed();
    }
    switch (replaced.error().code) {
        case ECANCELED:  // a server started meanwhile
            return SetThroughWine(prefix, key.subKey_, valueName, text);
        case EACCES:
        case EPERM:
        case EROFS:
            return Fail(RegStatus::AccessDenied, replaced.error());
        default:
            return Fail(RegStatus::Failed, replaced.error());
    }
}

void RegCloseKey(RegistryKey& key) {
    key = RegistryKey();
}

}  // namespace platform
