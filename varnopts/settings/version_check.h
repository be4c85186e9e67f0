#pragma once
// Whether the game is a version the modification can be installed on.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/wine_prefix.h"

namespace varnopts {

// The publisher's support site, named in the refusal messages.
inline constexpr std::string_view kPublisherSupportAddress = "http://www.redstorm.com/support";

enum class VersionVerdict { Accepted, Refused, Unknown };

struct VersionJudgement {
    VersionVerdict verdict;
    std::string_view version;  // the refused version ("1.0", "1.01", "1.02a"), else empty
};

// Judges the game's executable by its length in bytes.
VersionJudgement JudgeGameExecutableLength(std::uint64_t length);

// The decision from its four inputs, the messages shown through
// platform::ShowMessage. fileLength is empty when the executable cannot be
// opened. Returns true when installing may go on.
bool DecideGameVersion(std::string_view installationPath, bool eagleWatchInstalled,
                       std::optional<std::uint64_t> fileLength);

// Checks the game at installationPath (which ends with a backslash):
// installationPath + "RainbowSix.exe" judged by its length unless Eagle
// Watch is installed. Returns true when installing may go on; false after its
// message or a declined question.
bool CheckGameVersion(const platform::WinePrefix& prefix, std::string_view installationPath);

}  // namespace varnopts
