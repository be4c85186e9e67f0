#pragma once
// HKEY_LOCAL_MACHINE of a Wine prefix, with the operations the programs use:
// open a key, query a value into a buffer, set a text value, close.
//
// Key names are given as a Windows program gives them ("SOFTWARE\Red Storm
// Entertainment\Tom Clancy's Rainbow Six\"); they compare case-insensitively
// and a trailing backslash is ignored. In a win64 prefix a key under
// "Software\" is looked up under "Software\Wow6432Node\", as Wine shows it to
// a 32-bit program.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace platform {

enum class RegStatus {
    Success,
    NotFound,      // no such key or value
    MoreData,      // the value does not fit the caller's buffer
    AccessDenied,  // the key was opened for reading only, or the file is not writable
    Failed,        // anything else (registry unreadable, wine missing, write failed)
};

// What a registry operation gives back: its status and, when it failed, why
// in words for the user ("system.reg: Permission denied").
class [[nodiscard]] RegResult {
  public:
    RegResult(RegStatus status = RegStatus::Success, Error error = {})
        : status_(status), error_(std::move(error)) {}
    RegStatus status() const { return status_; }
    const Error& error() const { return error_; }
    friend bool operator==(const RegResult& result, RegStatus status) {
        return result.status_ == status;
    }

  private:
    RegStatus status_;
    Error error_;
};

enum class KeyAccess { QueryValue, SetValue };

// An open key. Opening reads the value data of the key from system.reg, or
// while a wineserver runs for the prefix (system.reg may then be up to half a
// minute old) through that server with `wine reg export`, so a query sees the
// registry as it was when the key was opened. A start pays for this once:
// the file is parsed once for as long as it stays the same, and one export
// (of a product's vendor key, SOFTWARE\Vendor) answers the opens of the
// next few seconds under it; a write of ours makes the next open read anew.
class RegistryKey {
  public:
    RegistryKey() = default;

  private:
    friend RegResult RegOpenKey(const WinePrefix&, std::string_view, KeyAccess, RegistryKey&);
    friend RegResult RegQueryValue(const RegistryKey&, std::string_view, char*, std::uint32_t&);
    friend RegResult RegSetStringValue(const RegistryKey&, std::string_view, std::string_view);
    friend void RegCloseKey(RegistryKey&);

    bool open_ = false;
    KeyAccess access_ = KeyAccess::QueryValue;
    WinePrefix prefix_;
    std::string subKey_;   // the name as the program gave it, without trailing backslash
    std::string keyPath_;  // the key's path in system.reg (UTF-8), view and links applied
    struct Values;
    std::shared_ptr<const Values> values_;
};

// Opens an existing key under HKEY_LOCAL_MACHINE.
RegResult RegOpenKey(const WinePrefix& prefix, std::string_view subKey, KeyAccess access,
                     RegistryKey& key);

// Whether the key is in the prefix's system.reg as last saved, without asking
// a running wineserver: finding the prefixes that hold the game runs no Wine
// (a launcher's prefix may run under the launcher's own build, and another
// Wine would start a second server beside it), and a game's key stays put.
bool RegKeyInSavedFile(const WinePrefix& prefix, std::string_view subKey);

// Copies the value's data, as an "A" program sees it, into buffer: text types
// (and data stored under other tags that holds text) converted to Windows-1252
// with the terminating zero, other types raw. size is the buffer's size on
// entry and the data's size on return. Too large for the buffer: MoreData.
RegResult RegQueryValue(const RegistryKey& key, std::string_view valueName, char* buffer,
                        std::uint32_t& size);

// Sets a REG_SZ value (text in Windows-1252, without its terminating zero).
// With no wineserver running for the prefix, system.reg is rewritten
// atomically with every other line kept byte for byte; while one runs, the
// value goes through `$WINE reg add`. The key must be open for SetValue.
RegResult RegSetStringValue(const RegistryKey& key, std::string_view valueName,
                            std::string_view text);

void RegCloseKey(RegistryKey& key);

// The keys a program reads as it starts (Windows-1252, as RegOpenKey takes
// them). While a wineserver runs, each key is read through a `wine reg
// export` of its product's vendor, a tenth of a second or more: the first
// read exports every vendor of these side by side, in the time of one.
void ReadKeysTogether(std::vector<std::string> subKeys);

// Reads and parses the prefix's system.reg for the keys opened after it: a
// start calls it on a thread of its own while the window system starts. A
// key opened meanwhile waits for it rather than reading the file beside it.
// Touches nothing but the file (no environment, no wine command).
void ReadRegistryAhead(const std::filesystem::path& prefixFolder);

}  // namespace platform
