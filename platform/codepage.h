#pragma once
// Windows-1252 <-> UTF-8, for file names on disk and arguments handed to wine.

#include <string>
#include <string_view>

namespace platform {

std::string Cp1252ToUtf8(std::string_view text);
// Characters that Windows-1252 cannot hold become '?'.
std::string Utf8ToCp1252(std::string_view text);

// The lower-case form of Windows-1252 text (A-Z, the accented capitals,
// \x8A, \x8C, \x8E and \x9F), for comparing names as Windows does.
std::string FoldCaseCp1252(std::string_view text);

}  // namespace platform
