#pragma once
// Windows-1252 <-> UTF-8 (file names on disk, arguments handed to wine) and
// <-> UTF-16 (registry names and text, Wine's registry export files).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::string Cp1252ToUtf8(std::string_view text);
// Appends one Unicode code point to out as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);
// Appends one Unicode code point to out as UTF-16 (a surrogate pair past U+FFFF).
void AppendUtf16(std::u16string& out, char32_t codePoint);
// The code point at the start of text (not empty) and its length in bytes;
// nothing (and length 1) when the bytes there are no well-formed UTF-8.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& length);

// Characters that Windows-1252 cannot hold become '?'.
std::string Utf8ToCp1252(std::string_view text);

// The lower-case form of Windows-1252 text (A-Z, the accented capitals,
// \x8A, \x8C, \x8E and \x9F), for comparing names as Windows does.
std::string FoldCaseCp1252(std::string_view text);

// Windows-1252 text <-> UTF-16 units. Units that Windows-1252 cannot hold
// become '?', as a Windows "A" function gives them.
std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);
// A lone surrogate becomes '?'.
std::string Utf16ToUtf8(std::u16string_view text);
// Bytes that are no valid UTF-8 stand for themselves (as Latin-1).
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 units <-> their little-endian bytes; an odd last byte is dropped.
std::string Utf16LeBytes(std::u16string_view units);
std::u16string Utf16LeUnits(std::string_view bytes);

}  // namespace platform
