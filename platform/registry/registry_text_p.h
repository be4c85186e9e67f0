#pragma once
// Wine's registry file (system.reg) as text: key blocks, values and their
// lines, so that the reader can decode values and the writer can replace a
// value while keeping every other line byte for byte.
//
// The format, as wineserver writes and reads it:
//   WINE REGISTRY Version 2
//   ;; comment
//   #arch=win64
//
//   [Software\\Wine\\Ports] 1796594702        key name with escapes, time stamp
//   #time=1dd85cdd7983c8a                      options: #time, #class="...", #link
//   @="default value"                          the default value
//   "Name"="text"                              REG_SZ
//   "Name"=str(2):"text"                       REG_EXPAND_SZ (any type with str(N):)
//   "Name"=dword:00000001                      REG_DWORD
//   "Name"=hex:01,02,\                         REG_BINARY, continued on the next line
//     03
//   "Name"=hex(7):61,00,00,00                  any type with raw bytes
// Strings are UTF-16 with the escapes \\ \" \a \b \e \f \n \r \t \v, octal
// (\0, \012) and \x with up to four hex digits (one UTF-16 unit); other bytes
// are UTF-8.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry_detail {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegLink = 6;
constexpr std::uint32_t kRegMultiSz = 7;

struct Value {
    std::u16string name;  // empty for the default value (@)
    std::uint32_t type = 0;
    std::string data;           // the stored bytes; text is UTF-16LE with its terminating zero
    std::size_t firstLine = 0;  // the value's lines: [firstLine, endLine)
    std::size_t endLine = 0;
};

struct KeyBlock {
    // Filled for every key once keys() was asked for, for links at once.
    std::u16string path;         // unescaped, "\" between names, no trailing backslash
    std::u16string foldedPath;   // path upper-cased, for comparing
    std::size_t nameOffset = 0;  // the escaped name in the content, between '[' and ']'
    std::size_t nameLength = 0;
    std::size_t headerLine = 0;
    std::size_t endLine = 0;          // the next key's header line, or the line count
    std::size_t lastContentLine = 0;  // the block's last line that is not blank
    bool isLink = false;              // #link: SymbolicLinkValue names the target key
};

class RegistryText {
  public:
    explicit RegistryText(std::string content);

    // "WINE REGISTRY Version 2" on the first line: anything else is not a
    // registry file, and neither reading nor writing should trust it.
    bool HasValidHeader() const { return validHeader_; }
    bool IsWin64() const { return win64_; }

    const std::string& content() const { return content_; }
    std::size_t LineCount() const { return lines_.size(); }
    // A line without its line end (LF, CR LF).
    std::string_view LineText(std::size_t line) const;
    // A line with its line end, exactly as stored.
    std::string_view RawLine(std::size_t line) const;
    // The line end of a line: "\r\n", "\n" or "" (last line without one;
    // a last line may also end with a lone "\r", which ends no line).
    std::string_view LineEnd(std::size_t line) const;
    // The line end for lines added to the file: the first line's, else "\n".
    std::string_view NewLineEnd() const;

    // Every key block with its path; the first call unescapes the names.
    const std::vector<KeyBlock>& keys() const;

    // Reading a few keys of a large file needs no unescaped name but the
    // links': these compare the escaped names as they stand.
    struct KeyMatch {
        std::vector<const KeyBlock*> blocks;  // the key's own, in file order (it may have two)
        bool atOrBelow = false;               // a block of the key or of a key below it
    };
    KeyMatch FindKey(std::u16string_view foldedPath) const;
    // Makes ready what FindKey needs on its first call.
    void PrepareFindKey() const { Heads(); }
    // The #link keys, with their paths.
    std::vector<const KeyBlock*> LinkKeys() const;

    // The values of a key block, in file order. Lines that are not values
    // in a known format are skipped, as wineserver does.
    std::vector<Value> ReadValues(const KeyBlock& key) const;

  private:
    // A line's place in the content (it ends where the next begins): small,
    // as a registry has tens of thousands of lines.
    struct Line {
        std::uint32_t offset;
        std::uint32_t textLength;
    };

    // For each key, a hash of the first three names of its path, made on
    // the first FindKey: a key at or below a path of four names or more has
    // the path's first three names, so only keys of the same hash (and those
    // whose names need unescaping) need comparing.
    const std::vector<std::uint64_t>& Heads() const;

    enum class Relation { Other, Same, Below };
    // How the key's path (its escaped name) stands to a folded path.
    Relation Relate(const KeyBlock& key, std::u16string_view foldedPath) const;
    void DecodeName(KeyBlock& key) const;

    std::string content_;
    std::vector<Line> lines_;
    mutable std::vector<KeyBlock> keys_;  // names unescaped on demand
    mutable std::once_flag namesDecoded_;
    mutable std::vector<std::uint64_t> heads_;
    mutable std::once_flag headsHashed_;
    bool validHeader_ = false;
    bool win64_ = false;
};

// Upper-cases a name for the case-insensitive comparison of key and value names.
std::u16string FoldRegistryNameCase(std::u16string_view name);

// Key path without trailing backslashes.
std::u16string TrimTrailingBackslashes(std::u16string_view path);

// Parses an escaped string up to the unescaped end character. Returns the
// number of bytes read, the end character not included, or nullopt when the
// end character never comes.
std::optional<std::size_t> ParseEscaped(std::string_view source, char endChar, std::u16string& out);

// Escapes a string as wineserver writes it, with the two extra characters
// that need a backslash ("\"\"" for values, "[]" for key names).
std::string Escape(std::u16string_view text, std::string_view extraEscapes);

// A value line's data: the part after its name and '=' ("@=" or
// "\"Name\"="), trimmed at its start, the name read into name; nothing when
// the line is no value.
std::optional<std::string_view> ValueData(std::string_view line, std::u16string& name);

// Decodes a value's data by its tag ("text", str(N):, dword:, hex:, hex(N):)
// into value (its endLine moves past continuation lines, up to blockEnd).
// False for data in no known format, which wineserver skips too.
bool DecodeValue(const RegistryText& file, std::string_view data, std::size_t blockEnd,
                 Value& value);

// The data of a value as a Windows "A" program reads it (see the .cpp for the rule).
std::string AnsiData(std::uint32_t type, const std::string& data);

}  // namespace platform::registry_detail
