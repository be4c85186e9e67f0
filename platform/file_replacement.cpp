#include "platform/file_replacement.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "platform/leftover_temporaries.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

// Where a temporary for file must go: beside the file a symbolic link points
// to, so the link survives and the file it names is the one replaced.
fs::path ReplacementTarget(const fs::path& file) {
    std::error_code error;
    if (fs::is_symlink(file, error)) {
        const fs::path target = fs::weakly_canonical(file, error);
        if (!error) {
            return target;
        }
    }
    return file;
}

struct PendingReplacement {
    fs::path target;
    fs::path temporary;
};

}  // namespace

Status CheckReplaceable(const std::vector<FileReplacement>& replacements) {
    // A read-only file cannot be opened for writing on Windows; replacing it
    // by a rename would override the mark the user set.
    for (const FileReplacement& replacement : replacements) {
        struct stat status {};
        if (::stat(replacement.file.c_str(), &status) == 0 && !S_ISDIR(status.st_mode) &&
            (status.st_mode & 0222) == 0) {
            return SystemError(replacement.file.string(), EACCES);
        }
    }
    return Status::Ok();
}

Status ReplaceFiles(const std::vector<FileReplacement>& replacements, FileOperations& operations,
                    const std::function<bool()>& mayReplace) {
    std::vector<PendingReplacement> pending;
    auto discardAll = [&] {
        for (const PendingReplacement& each : pending) {
            operations.Remove(each.temporary);
        }
    };

    if (Status checked = CheckReplaceable(replacements); !checked) {
        return checked;
    }

    // What an earlier save that was killed midway left goes first (and before
    // any temporary of this save exists, which it must not take for one).
    for (const FileReplacement& replacement : replacements) {
        RemoveLeftoverTemporaries(ReplacementTarget(replacement.file), operations);
    }

    for (const FileReplacement& replacement : replacements) {
        const fs::path target = ReplacementTarget(replacement.file);
        fs::path temporary;
        Result<FileOperations::Handle> handle = operations.CreateTemporary(target, temporary);
        if (!handle) {
            discardAll();
            return Error{replacement.file.string(), handle.error().why, handle.error().code};
        }
        pending.push_back({target, temporary});

        Status status = operations.Write(*handle, replacement.content);
        if (status) {
            status = operations.Flush(*handle);
        }
        const Status closed = operations.Close(*handle);
        if (status && !closed) {
            status = closed;
        }
        if (!status) {
            discardAll();
            return Error{replacement.file.string(), status.error().why, status.error().code};
        }
    }

    if (mayReplace && !mayReplace()) {
        discardAll();
        return Error{replacements.front().file.string(), "the replacement was called off",
                     ECANCELED};
    }

    // Every new content is safely on disk: only now is any target replaced.
    for (std::size_t i = 0; i < pending.size(); ++i) {
        Status renamed = operations.Rename(pending[i].temporary, pending[i].target);
        if (!renamed) {
            for (std::size_t k = i; k < pending.size(); ++k) {
                operations.Remove(pending[k].temporary);
            }
            return Error{replacements[i].file.string(), renamed.error().why, renamed.error().code};
        }
    }
    return Status::Ok();
}

}  // namespace platform
