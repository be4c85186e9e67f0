#pragma once
// The message that the game is not in the prefix the programs work on: the
// program's own first line, beneath it where they looked and what to do, and
// a button to choose the prefix folder there and then.

#include <optional>
#include <string>

#include "platform/wine_prefix.h"

namespace platform {

// Shows the message (text and caption are the program's; style its icon).
// When the user chooses a folder that is (or lies inside) a prefix, that
// prefix is returned with its Wine build, remembered when the user says so
// and it holds the game; a folder that is no prefix is refused with a message
// and the first one shows again. Nothing when the user closes the message.
std::optional<WinePrefix> ShowGameNotFound(const std::string& text, const std::string& caption,
                                           unsigned style, const WinePrefix& prefix,
                                           const std::string& gameKey);

}  // namespace platform
