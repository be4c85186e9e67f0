#pragma once
// Replacing files of any content atomically: a new file is written beside
// each target, flushed, and renamed over it, so a failure never leaves a
// half-written file.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_operations.h"
#include "platform/result.h"

namespace platform {

// A new content for a file that is to be replaced.
struct FileReplacement {
    std::filesystem::path file;
    std::string content;
};

// The checks ReplaceFiles makes before it writes anything: a read-only
// target (no write bit) fails as it would on Windows ("Permission denied").
Status CheckReplaceable(const std::vector<FileReplacement>& replacements);

// Replaces every file or none: each new content is written to a temporary
// file beside its target and flushed; only when all are written are they
// renamed over their targets. On a failure before the renames nothing is
// replaced; should a rename fail, the files before it stay replaced. Either
// way the temporary files are removed, and the error names the file that
// failed and why. CheckReplaceable runs first, before anything is written.
// A target that is a symbolic link stays one: the file it points to is
// replaced, and every new file keeps the permission bits of the one it
// replaces. When mayReplace is given, it is asked once every new file is
// written; if it says no, nothing is replaced and the error's code is
// ECANCELED.
Status ReplaceFiles(const std::vector<FileReplacement>& replacements,
                    FileOperations& operations = RealFileOperations(),
                    const std::function<bool()>& mayReplace = {});

inline Status ReplaceFile(const std::filesystem::path& file, std::string content,
                          FileOperations& operations = RealFileOperations()) {
    return ReplaceFiles({{file, std::move(content)}}, operations);
}

}  // namespace platform
