#include "platform/game_not_found.h"

#include <cerrno>
#include <iostream>

#include "platform/message.h"
#include "platform/prefix_discovery.h"
#include "platform/prefix_selection.h"

namespace platform {

std::optional<WinePrefix> ShowGameNotFound(const std::string& text, const std::string& caption,
                                           unsigned style, const WinePrefix& prefix,
                                           const std::string& gameKey) {
    const std::string message = WithDetails(text, GameNotFoundDetail(prefix));
    while (ShowMessage(message, caption, style | kChooseFolderButton) == kIdChooseFolder) {
        const std::string folder = AskForFolder("Choose the game's Wine prefix folder");
        if (folder.empty()) {
            continue;  // the dialog was cancelled: back to the message
        }
        Result<WinePrefix> chosen = ChosenPrefix(folder, gameKey);
        if (!chosen) {
            ShowMessage(WithDetails("This folder is no Wine prefix.", chosen.error().Describe()),
                        caption, MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        WinePrefix next = std::move(chosen).value();
        if (PrefixHoldingKey(next.folder, gameKey) &&
            ShowMessage(
                WithDetails("Remember this prefix for the next starts?", next.folder.string()),
                caption, MB_YESNO | MB_ICONASTERISK) == IDYES) {
            const SelectionInput input = CurrentSelectionInput(gameKey, {});
            if (const Status saved = RememberPrefix(input.configHome, next.folder); saved.ok()) {
                next.foundHow +=
                    ", remembered in " + RememberedPrefixFile(input.configHome).string();
            } else {
                ShowMessage(WithDetails("The choice was not remembered.", saved.error().Describe()),
                            caption, MB_OK | MB_ICONEXCLAMATION);
            }
        }
        // Said as at start, under the command's name.
        std::cerr << StartupLine(program_invocation_short_name, next) << std::endl;
        return next;
    }
    return std::nullopt;
}

}  // namespace platform
