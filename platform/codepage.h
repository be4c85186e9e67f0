#pragma once
// Windows-1252 <-> UTF-8, for file names on disk and arguments handed to wine.

#include <string>
#include <string_view>

namespace platform {

std::string Cp1252ToUtf8(std::string_view text);
// Characters that Windows-1252 cannot hold become '?'.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace platform
