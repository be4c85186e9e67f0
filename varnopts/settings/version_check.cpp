#include "varnopts/settings/version_check.h"

#include <array>
#include <optional>
#include <string>

#include "platform/file_read.h"
#include "platform/message.h"
#include "platform/windows_path.h"
#include "varnopts/settings/game_paths.h"
#include "varnopts/settings/settings_texts.h"

namespace varnopts {

namespace {

struct KnownLength {
    std::uint64_t length;
    VersionVerdict verdict;
    std::string_view version;
};

// The lengths of the game's executable that tell its version, checked from the top.
constexpr std::array<KnownLength, 5> kKnownLengths{{
    {4625408, VersionVerdict::Refused, "1.0"},
    {4628480, VersionVerdict::Refused, "1.01"},
    {4726272, VersionVerdict::Refused, "1.02a"},
    {4814528, VersionVerdict::Accepted, ""},
    {4899328, VersionVerdict::Accepted, ""},
}};

constexpr std::string_view kNotRunText =
    "You must run Rainbow Six once so that it can perform it's initialization before "
    "installing VARN. Please run Rainbow Six and then click Save again.";
constexpr std::string_view kNotFoundText =
    "Couldn't find RainbowSix.exe . Rainbow Six is not installed correctly. VARN install "
    "aborted.";
constexpr std::string_view kUnknownVersionText =
    "VARN cannot determine the version of Rainbow Six that you are running. VARN will only run "
    "if version 1.04 or later of Rainbow Six is installed. VARN will make Rainbow Six not "
    "function if installed on an invalid version. Are you sure you want to install?";

int Show(std::string_view text, std::string_view caption, unsigned style) {
    return platform::ShowMessage(std::string(text), std::string(caption), style);
}

std::string RefusedVersionText(std::string_view version) {
    std::string text = "You are running version ";
    text += version;
    text +=
        " of Rainbow Six. VARN will only run with version 1.04 or later. You can get the latest "
        "offical patches at ";
    text += kPublisherSupportAddress;
    text += " . VARN install aborted.";
    return text;
}

}  // namespace

VersionJudgement JudgeGameExecutableLength(std::uint64_t length) {
    for (const auto& known : kKnownLengths) {
        if (known.length == length) {
            return {known.verdict, known.version};
        }
    }
    return {VersionVerdict::Unknown, ""};
}

bool DecideGameVersion(std::string_view installationPath, bool eagleWatchInstalled,
                       std::optional<std::uint64_t> fileLength) {
    if (installationPath.empty()) {
        Show(kNotRunText, kCaptionInstallAborted, platform::MB_OK);
        return false;
    }
    if (eagleWatchInstalled) {
        return true;
    }
    if (!fileLength) {
        Show(kNotFoundText, kCaptionInstallAborted, platform::MB_OK);
        return false;
    }
    const VersionJudgement judgement = JudgeGameExecutableLength(*fileLength);
    switch (judgement.verdict) {
        case VersionVerdict::Accepted:
            return true;
        case VersionVerdict::Refused:
            Show(RefusedVersionText(judgement.version), kCaptionInstallAborted, platform::MB_OK);
            return false;
        case VersionVerdict::Unknown:
            break;
    }
    return Show(kUnknownVersionText, kCaptionUnknownVersion, platform::MB_YESNO) == platform::IDYES;
}

bool CheckGameVersion(const platform::WinePrefix& prefix, std::string_view installationPath) {
    if (installationPath.empty()) {
        return DecideGameVersion(installationPath, false, std::nullopt);
    }
    if (IsEagleWatchInstalled(prefix)) {
        return DecideGameVersion(installationPath, true, std::nullopt);
    }
    const std::string executable = std::string(installationPath) + "RainbowSix.exe";
    // A folder, device or pipe under the name is no game executable: it
    // counts as not found, and opening it never blocks.
    const auto length =
        platform::RegularFileLength(platform::ResolveWindowsPath(prefix, executable));
    return DecideGameVersion(installationPath, false,
                             length ? std::optional<std::uint64_t>(*length) : std::nullopt);
}

}  // namespace varnopts
