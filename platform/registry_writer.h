#pragma once
// Writing one REG_SZ value into system.reg without ever losing or corrupting
// it: the new content differs from the old only in the value's own line, and
// it replaces the file atomically.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_operations.h"
#include "platform/registry_file.h"
#include "platform/result.h"

namespace platform::registry_writer {

// The file's content with the value set, as wineserver writes a REG_SZ:
// "Name"="escaped text". An existing value (its lines, whatever its type) is
// replaced in place, keeping the name's spelling; a new one goes after the
// last line of its key's block. Every other line stays byte for byte.
// Nothing when the key has no block in the file.
std::optional<std::string> WithStringValue(const registry_file::RegistryText& file,
                                           std::u16string_view keyPath, std::u16string_view name,
                                           std::u16string_view text);

enum class ReplaceOutcome { Replaced, Declined, Failed, AccessDenied };

struct ReplaceResult {
    ReplaceOutcome outcome = ReplaceOutcome::Failed;
    Error error;  // for Failed and AccessDenied
};

// Replaces the file: a temporary file beside it with the same permission
// bits, written and flushed; then, if mayReplace() still agrees, renamed over
// the file and the folder flushed. Declined or failed, the temporary file is
// removed and the file is left exactly as it was. Temporary files that an
// earlier write left when it was killed are removed first.
ReplaceResult ReplaceAtomically(const std::filesystem::path& file, std::string_view content,
                                const std::function<bool()>& mayReplace,
                                FileOperations& operations = RealFileOperations());

}  // namespace platform::registry_writer
