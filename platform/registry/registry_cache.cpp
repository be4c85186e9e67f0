#include "platform/registry/registry_cache_p.h"

#include <sys/stat.h>

#include <ctime>
#include <mutex>
#include <utility>

#include "platform/file_read.h"

namespace platform::registry_detail {
namespace {

// A file changed at least this long ago is not changed again within the
// tick that gave it its time.
constexpr std::chrono::nanoseconds kSettledAfter = std::chrono::milliseconds(50);

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct ParsedFile {
    FileIdentity identity;
    std::shared_ptr<const RegistryText> text;
};

struct Export {
    std::chrono::steady_clock::time_point madeAt;
    std::shared_ptr<const ExportedTree> tree;
};

// Keyed by the prefix folder, then (exports) by the exported key.
struct Cache {
    std::mutex reading;  // held through a read and parse of a file
    std::mutex mutex;    // held while the maps are looked at
    std::map<std::filesystem::path, ParsedFile> files;
    std::map<std::filesystem::path, std::map<std::u16string, Export>> exports;
};

// Never destroyed: a read ahead may still run while the process ends.
Cache& TheCache() {
    static Cache& cache = *new Cache;
    return cache;
}

FileIdentity IdentityOf(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
            status.st_mtim.tv_nsec};
}

}  // namespace

Result<std::shared_ptr<const RegistryText>> CachedRegistryFile(const std::filesystem::path& file) {
    Cache& cache = TheCache();
    const std::lock_guard turn(cache.reading);
    struct stat before {};
    if (::stat(file.c_str(), &before) == 0) {
        const std::lock_guard lock(cache.mutex);
        const auto found = cache.files.find(file);
        if (found != cache.files.end() && found->second.identity == IdentityOf(before)) {
            return found->second.text;
        }
    }
    Result<std::string> content = ReadWholeFile(file);
    if (!content) {
        return content.error();
    }
    auto text = std::make_shared<const RegistryText>(std::move(content).value());
    // Kept only when the file did not change while it was read, and was
    // last changed some time before: a change within the same clock tick
    // (file times are only as fine as the kernel's tick) would keep the time.
    struct stat after {};
    timespec now{};
    if (::stat(file.c_str(), &after) == 0 && ::clock_gettime(CLOCK_REALTIME, &now) == 0 &&
        IdentityOf(after) == IdentityOf(before) &&
        static_cast<off_t>(text->content().size()) == after.st_size &&
        (now.tv_sec - after.st_mtim.tv_sec) * 1000000000LL +
                (now.tv_nsec - after.st_mtim.tv_nsec) >=
            kSettledAfter.count()) {
        const std::lock_guard lock(cache.mutex);
        cache.files[file] = {IdentityOf(after), text};
    }
    return std::shared_ptr<const RegistryText>(std::move(text));
}

std::shared_ptr<const ExportedTree> CachedExport(const std::filesystem::path& prefixFolder,
                                                 const std::u16string& foldedKey) {
    Cache& cache = TheCache();
    const std::lock_guard lock(cache.mutex);
    const auto prefix = cache.exports.find(prefixFolder);
    if (prefix == cache.exports.end()) {
        return nullptr;
    }
    const auto found = prefix->second.find(foldedKey);
    if (found == prefix->second.end() ||
        std::chrono::steady_clock::now() - found->second.madeAt >= kExportFreshFor) {
        return nullptr;
    }
    return found->second.tree;
}

void RememberExport(const std::filesystem::path& prefixFolder, const std::u16string& foldedKey,
                    std::shared_ptr<const ExportedTree> tree) {
    Cache& cache = TheCache();
    const std::lock_guard lock(cache.mutex);
    cache.exports[prefixFolder][foldedKey] = {std::chrono::steady_clock::now(), std::move(tree)};
}

void ForgetCachedRegistry(const std::filesystem::path& prefixFolder) {
    Cache& cache = TheCache();
    const std::lock_guard lock(cache.mutex);
    cache.files.erase(prefixFolder / "system.reg");
    cache.exports.erase(prefixFolder);
}

}  // namespace platform::registry_detail
