#pragma once
// Texts of the messages the window shows for kit data problems (caption
// kMessageCaption, stop icon).

#include <string>
#include <vector>

#include "platform/result.h"

namespace kitdata {

// One message for everything start-up could not read or make writable.
std::string StartupProblemsMessage(const std::vector<platform::Error>& problems);

// Save failed: what failed and why (which says when some files were replaced).
std::string SaveFailedMessage(const platform::Error& error);

}  // namespace kitdata
