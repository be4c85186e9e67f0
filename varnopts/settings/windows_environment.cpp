#include "varnopts/settings/windows_environment.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace varnopts {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::optional<std::string> QueryText(const platform::WinePrefix& prefix, std::string_view key,
                                     std::string_view name) {
    platform::RegistryKey handle;
    if (platform::RegOpenKey(prefix, key, platform::KeyAccess::QueryValue, handle) !=
        platform::RegStatus::Success) {
        return std::nullopt;
    }
    char buffer[1024] = {};
    std::uint32_t size = sizeof buffer - 1;
    const auto status = platform::RegQueryValue(handle, name, buffer, size);
    platform::RegCloseKey(handle);
    if (status != platform::RegStatus::Success || buffer[0] == '\0') {
        return std::nullopt;
    }
    return std::string(buffer);
}

// The variables as Wine gives them to a 32-bit program: its program folder
// is the x86 one in a win64 prefix.
std::vector<std::pair<std::string, std::string>> Variables(const platform::WinePrefix& prefix) {
    constexpr std::string_view kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    constexpr std::string_view kWindowsNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    const char* const programFilesValue =
        prefix.win64 ? "ProgramFilesDir (x86)" : "ProgramFilesDir";
    const std::string programFiles =
        QueryText(prefix, kCurrentVersion, programFilesValue)
            .value_or(prefix.win64 ? "C:\\Program Files (x86)" : "C:\\Program Files");
    const std::string commonFiles = programFiles + "\\Common Files";
    const std::string systemRoot =
        QueryText(prefix, kWindowsNt, "SystemRoot").value_or("C:\\windows");
    std::vector<std::pair<std::string, std::string>> variables{
        {"programfiles", programFiles},
        {"commonprogramfiles", commonFiles},
        {"systemroot", systemRoot},
        {"windir", systemRoot},
        {"systemdrive", systemRoot.substr(0, 2)},
    };
    if (prefix.win64) {
        variables.emplace_back("programfiles(x86)", programFiles);
        variables.emplace_back("commonprogramfiles(x86)", commonFiles);
    }
    return variables;
}

}  // namespace

std::string ExpandWindowsEnvironment(const platform::WinePrefix& prefix, std::string_view text) {
    if (text.find('%') == std::string_view::npos) {
        return std::string(text);
    }
    const auto variables = Variables(prefix);
    std::string expanded;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find('%', position);
        const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            expanded += text.substr(position);
            break;
        }
        expanded += text.substr(position, open - position);
        const std::string name = Lower(text.substr(open + 1, close - open - 1));
        const auto known =
            std::find_if(variables.begin(), variables.end(),
                         [&](const auto& variable) { return variable.first == name; });
        if (known == variables.end()) {
            // Left as written; its closing '%' may open the next name.
            expanded += text.substr(open, close - open);
            position = close;
        } else {
            expanded += known->second;
            position = close + 1;
        }
    }
    return expanded;
}

}  // namespace varnopts
