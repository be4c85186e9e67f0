#pragma once
// Reading a file whole. Only regular files are read: game files and the
// registry file are plain files, and a device or pipe under their name
// (/dev/zero, a FIFO) could block or be read forever. Opening never blocks.

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/result.h"

namespace platform {

Result<std::string> ReadWholeFile(const std::filesystem::path& file);

// The length of a regular file, checked the same way as for reading.
Result<std::uint64_t> RegularFileLength(const std::filesystem::path& file);

}  // namespace platform
