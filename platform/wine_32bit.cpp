#include "platform/wine_32bit.h"

#include <unistd.h>

#include <filesystem>
#include <optional>

#include "platform/child_process.h"
#include "platform/file_read.h"
#include "platform/wine_program.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kLongestScript = 64 * 1024;
constexpr std::string_view kDebianNotice = "wine32 is missing";

std::optional<fs::path> WineFile(const WineBuild& build) {
    const auto found = FindExecutable(build.program.empty() ? WineProgram() : build.program);
    if (!found) {
        return std::nullopt;
    }
    std::error_code error;
    const fs::path real = fs::canonical(*found, error);
    return error ? *found : real;
}

// The 32-bit loader that Debian's wine script looks for, when the file is
// that script.
std::optional<fs::path> DebianWine32Loader(const fs::path& wine) {
    const auto script = ReadWholeFile(wine, kLongestScript);
    if (!script || !script->starts_with("#!") || script->find(kDebianNotice) == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t start = script->find("\nwine32=");
    if (start == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t value = start + 8;
    return fs::path(script->substr(value, script->find('\n', value) - value));
}

bool IsFolder(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder, error);
}

}  // namespace

Runs32Bit CanRun32Bit(const WineBuild& build) {
    const auto wine = WineFile(build);
    if (!wine) {
        return Runs32Bit::Unknown;
    }
    if (const auto loader = DebianWine32Loader(*wine)) {
        return access(loader->c_str(), X_OK) == 0 ? Runs32Bit::Yes : Runs32Bit::No;
    }
    const fs::path root = wine->parent_path().parent_path();
    if (wine->parent_path().filename() != "bin" || root == "/usr" || root == "/") {
        return Runs32Bit::Unknown;
    }
    bool has64BitPart = false;
    bool hasAny32BitFiles = false;
    for (const char* lib : {"lib", "lib32", "lib64"}) {
        const fs::path folder = root / lib / "wine";
        if (IsFolder(folder / "i386-unix")) {
            return Runs32Bit::Yes;
        }
        has64BitPart = has64BitPart || IsFolder(folder / "x86_64-unix");
        hasAny32BitFiles = hasAny32BitFiles || IsFolder(folder / "i386-windows");
    }
    return has64BitPart && !hasAny32BitFiles ? Runs32Bit::No : Runs32Bit::Unknown;
}

bool SaysCannotRun32Bit(std::string_view output) {
    return output.find(kDebianNotice) != std::string_view::npos ||
           output.find("load_wow64_ntdll") != std::string_view::npos;
}

std::string How32BitPartIsGot(const WineBuild& build) {
    const auto wine = WineFile(build);
    if (wine && DebianWine32Loader(*wine)) {
        return "Its 32-bit part (wine32) is not installed. On Debian and Ubuntu install it with\n"
               "sudo dpkg --add-architecture i386 && sudo apt update && "
               "sudo apt install wine32:i386\nthen try again.";
    }
    const std::string which = build.description.empty()
                                  ? "The Wine in use"
                                  : "The Wine in use (" + build.description + ")";
    return which +
           " lacks its 32-bit part. Run the prefix with a Wine build that has it (most "
           "launchers' builds do; for Debian's and Ubuntu's wine: sudo dpkg --add-architecture "
           "i386 && sudo apt update && sudo apt install wine32:i386), then try again.";
}

}  // namespace platform
