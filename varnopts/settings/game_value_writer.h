#pragma once
// Writes a text value under the game's registry key.

#include <string_view>

#include "platform/wine_prefix.h"

namespace varnopts {

// Sets name to text (REG_SZ; at most 259 characters are taken) under the
// game's key. Returns 0 when written; 1 when not, after showing "Error
// opening R6 main reg key." or "Error opening <name> Registry key".
int WriteGameValue(const platform::WinePrefix& prefix, std::string_view name,
                   std::string_view text);

}  // namespace varnopts
