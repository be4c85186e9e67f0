#pragma once
// Windows-1252 <-> UTF-8, for file names on disk and arguments handed to wine.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::string Cp1252ToUtf8(std::string_view text);
// Appends one Unicode code point to out as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);
// The code point at the start of text (not empty) and its length in bytes;
// nothing (and length 1) when the bytes there are no well-formed UTF-8.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& length);

// Characters that Windows-1252 cannot hold become '?'.
std::string Utf8ToCp1252(std::string_view text);

// The lower-case form of Windows-1252 text (A-Z, the accented capitals,
// \x8A, \x8C, \x8E and \x9F), for comparing names as Windows does.
std::string FoldCaseCp1252(std::string_view text);

}  // namespace platform
