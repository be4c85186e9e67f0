#pragma once
// Writing one REG_SZ value into system.reg without ever losing or corrupting
// it: the new content differs from the old only in the value's own line, and
// the file is replaced atomically by ReplaceFiles.

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/registry_text_p.h"

namespace platform::registry_detail {

// The file's content with the value set, as wineserver writes a REG_SZ:
// "Name"="escaped text". An existing value (its lines, whatever its type) is
// replaced in place, keeping the name's spelling; a new one goes after the
// last line of its key's block. Every other line stays byte for byte.
// Nothing when the key has no block in the file.
std::optional<std::string> WithStringValue(const registry_detail::RegistryText& file,
                                           std::u16string_view keyPath, std::u16string_view name,
                                           std::u16string_view text);

}  // namespace platform::registry_detail
