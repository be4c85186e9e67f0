#pragma once
// Environment strings in paths ("%ProgramFiles%\VARN"), expanded as the
// shell expands a program's file and working folder before starting it.
// Installers store such paths as expandable registry texts.

#include <string>
#include <string_view>

#include "platform/wine_prefix.h"

namespace varnopts {

// Replaces each %NAME% that the prefix defines for a 32-bit program
// (ProgramFiles, CommonProgramFiles, SystemRoot, windir, SystemDrive, and
// ProgramFiles(x86) and CommonProgramFiles(x86) in a win64 prefix); names
// compare case-insensitively. Unknown names and lone '%' stay as they are.
std::string ExpandWindowsEnvironment(const platform::WinePrefix& prefix, std::string_view text);

}  // namespace varnopts
