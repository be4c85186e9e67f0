#include "loadwise/kitdata/game_folder.h"

#include "platform/codepage.h"
#include "platform/text_file.h"
#include "platform/windows_path.h"

namespace kitdata {
namespace {

// A name that is one plain component: no separators, no NUL, not . or ..
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("\\/\0", 3)) == std::string_view::npos;
}

}  // namespace

GameFolder::GameFolder(const platform::WinePrefix& prefix, std::string windowsFolder)
    : prefix_(prefix), windowsFolder_(std::move(windowsFolder)) {
    joinsDirectly_ =
        !windowsFolder_.empty() && (windowsFolder_.back() == '\\' || windowsFolder_.back() == '/');
    if (joinsDirectly_) {
        resolvedFolder_ = platform::ResolveWindowsPath(prefix_, windowsFolder_);
    }
}

platform::Result<std::vector<std::string>> GameFolder::ReadLines(std::string_view name) const {
    if (joinsDirectly_ && IsPlainName(name)) {
        // Spelled exactly as on disk, the resolution would give this very path.
        auto lines = platform::ReadTextLines(resolvedFolder_ / platform::Cp1252ToUtf8(name));
        if (lines) {
            return lines;
        }
    }
    return platform::ReadTextLines(
        platform::ResolveWindowsPath(prefix_, windowsFolder_ + std::string(name)));
}

}  // namespace kitdata
