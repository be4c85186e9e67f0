#pragma once
// Reading a file whole. Only regular files are read: game files and the
// registry file are plain files, and a device or pipe under their name
// (/dev/zero, a FIFO) could block or be read forever. Opening never blocks,
// and a file longer than the limit is refused (EFBIG) rather than read into
// memory: the largest file the programs read is a registry of a few MB.

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/result.h"

namespace platform {

inline constexpr std::uint64_t kReadLimit = 256ull << 20;

Result<std::string> ReadWholeFile(const std::filesystem::path& file,
                                  std::uint64_t limit = kReadLimit);

// Up to length bytes of a regular file from offset on (fewer at its end),
// checked the same way: a program's header, the first lines of a registry.
Result<std::string> ReadFilePart(const std::filesystem::path& file, std::uint64_t offset,
                                 std::size_t length);

// The length of a regular file, checked the same way as for reading.
Result<std::uint64_t> RegularFileLength(const std::filesystem::path& file);

}  // namespace platform
