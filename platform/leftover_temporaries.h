#pragma once
// A replacement that was killed midway (power cut, SIGKILL) leaves its
// temporary file beside the target: ".<name>.r6tools-XXXXXX", six letters or
// digits, as FileOperations::CreateTemporary names it. The next replacement of
// the same target removes them, so they never pile up.

#include <filesystem>

#include "platform/file_operations.h"

namespace platform {

// Whether candidate is named as a temporary file for target.
bool IsTemporaryFor(const std::filesystem::path& target, const std::filesystem::path& candidate);

// Removes every temporary file for target in its folder through operations.
void RemoveLeftoverTemporaries(const std::filesystem::path& target, FileOperations& operations);

}  // namespace platform
