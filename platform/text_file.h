#pragma once
// Text files as the game keeps them: 8-bit Windows-1252 bytes, passed through
// unchanged. Reading drops each line's LF and a CR before it (a last line
// without LF is still a line); writing ends every line with CR LF.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace platform {

Result<std::vector<std::string>> ReadTextLines(const std::filesystem::path& file);

// The lines joined with CR LF after every line.
std::string JoinTextLines(const std::vector<std::string>& lines);

}  // namespace platform
