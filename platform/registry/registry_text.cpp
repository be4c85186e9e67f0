#include "platform/registry/registry_text_p.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/registry/registry_scan_p.h"

namespace platform::registry_detail {
namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

// The length of an escaped name up to the unescaped end character, read as
// ParseEscaped reads it (an escape takes the character after the
// backslash with it), or nothing when the end character never comes. An
// end character is escaped when an odd run of backslashes stands before it
// (the run starts after a character that no escape takes along).
std::optional<std::size_t> EscapedLength(std::string_view source, char endChar) {
    for (std::size_t end = source.find(endChar); end != std::string_view::npos;
         end = source.find(endChar, end + 1)) {
        std::size_t backslashes = 0;
        while (backslashes < end && source[end - backslashes - 1] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 0) {
            return end;
        }
    }
    return std::nullopt;
}

// A hash of a path's first three names as a key name spells them (ASCII,
// "\\" between names), letters of either case alike: equal names give equal
// hashes, and a collision only adds keys to compare. Two values stand for
// the keys that have no such hash.
constexpr int kHeadNames = 3;
constexpr std::uint64_t kShortName = 0;   // three names or fewer: below no path of four
constexpr std::uint64_t kUnsureName = 1;  // needs unescaping: always compared
constexpr std::uint64_t kHashFactor = 0x9E3779B97F4A7C15ULL;

// Hashed eight bytes at a time: a name's head is read once per key of the file.
std::uint64_t HeadHash(std::string_view escapedHead) {
    std::uint64_t hash = escapedHead.size();
    for (std::size_t at = 0; at < escapedHead.size(); at += 8) {
        std::uint64_t word = 0;
        if (at + 8 <= escapedHead.size()) {
            std::memcpy(&word, escapedHead.data() + at, 8);  // one load
        } else {
            std::memcpy(&word, escapedHead.data() + at, escapedHead.size() - at);
        }
        if ((word & 0x8080808080808080ULL) != 0) {
            return kUnsureName;  // not ASCII
        }
        hash = (hash ^ (word & 0xDFDFDFDFDFDFDFDFULL)) * kHashFactor;  // 0x20: a letter's case
        hash ^= hash >> 29;
    }
    return hash <= kUnsureName ? kUnsureName + 1 : hash;
}

// The hash of a folded path's head; nothing for a path of three names or
// fewer, or one that is not ASCII.
std::optional<std::uint64_t> PathHead(std::u16string_view foldedPath) {
    std::string escaped;
    int separators = 0;
    for (const char16_t unit : foldedPath) {
        if (unit >= 0x80) {
            return std::nullopt;
        }
        if (unit == u'\\') {
            if (++separators == kHeadNames) {
                return HeadHash(escaped);
            }
            escaped += '\\';
        }
        escaped += static_cast<char>(unit);
    }
    return std::nullopt;
}

// The head of a key's escaped name: unsure when a backslash in it is no
// separator ("\\") or the third separator ends the name.
std::uint64_t EscapedNameHead(std::string_view name) {
    int separators = 0;
    for (std::size_t at = name.find('\\'); at != std::string_view::npos;
         at = name.find('\\', at + 2)) {
        if (at + 1 >= name.size() || name[at + 1] != '\\') {
            return kUnsureName;
        }
        if (++separators == kHeadNames) {
            if (at + 2 >= name.size() || name[at + 2] == '\\') {
                return kUnsureName;
            }
            return HeadHash(name.substr(0, at));
        }
    }
    return kShortName;
}

}  // namespace

RegistryText::RegistryText(std::string content) : content_(std::move(content)) {
    // Lines are counted in 32 bits: a larger content is read as no registry
    // (the files read are a few MB, and never above 256 MB).
    const std::size_t size = content_.size() <= UINT32_MAX ? content_.size() : 0;
    const char* const data = content_.data();
    lines_.reserve(size / 32);
    keys_.reserve(size / 128);  // a key takes a few lines of some 40 bytes
    KeyBlock* current = nullptr;
    // One pass: a line is found and, by its first character that is not
    // blank, taken for a key's header, an option or a value.
    for (std::size_t offset = 0; offset < size;) {
        const void* newline = std::memchr(data + offset, '\n', size - offset);
        const std::size_t end =
            newline != nullptr ? static_cast<const char*>(newline) - data + 1 : size;
        std::size_t textEnd = newline != nullptr ? end - 1 : size;
        if (textEnd > offset && data[textEnd - 1] == '\r') {
            --textEnd;
        }
        const std::size_t i = lines_.size();
        lines_.push_back(
            {static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(textEnd - offset)});
        std::size_t first = offset;
        while (first < textEnd && IsBlank(data[first])) {
            ++first;
        }
        const std::string_view text(data + first, textEnd - first);
        offset = end;
        if (text.empty()) {
            continue;
        }
        if (text[0] == '[') {
            if (current != nullptr) {
                current->endLine = i;
            }
            const std::optional<std::size_t> nameLength = EscapedLength(text.substr(1), ']');
            if (!nameLength) {
                current = nullptr;  // a broken key line: its values belong to no key
                continue;
            }
            KeyBlock key;
            key.nameOffset = first + 1;
            key.nameLength = *nameLength;
            key.headerLine = i;
            key.lastContentLine = i;
            keys_.push_back(std::move(key));
            current = &keys_.back();
        } else if (current == nullptr) {
            if (text[0] == '#' && TrimRight(text) == "#arch=win64") {
                win64_ = true;
            }
        } else {
            current->lastContentLine = i;
            if (text[0] == '#' && TrimRight(text) == "#link") {
                current->isLink = true;
            }
        }
    }
    if (current != nullptr) {
        current->endLine = lines_.size();
    }
    validHeader_ = !lines_.empty() && TrimRight(LineText(0)) == kHeader;
    for (KeyBlock& key : keys_) {
        if (key.isLink) {
            DecodeName(key);
        }
    }
}

void RegistryText::DecodeName(KeyBlock& key) const {
    std::u16string path;
    ParseEscaped(std::string_view(content_).substr(key.nameOffset, key.nameLength + 1), ']', path);
    key.path = TrimTrailingBackslashes(path);
    key.foldedPath = FoldRegistryNameCase(key.path);
}

const std::vector<KeyBlock>& RegistryText::keys() const {
    std::call_once(namesDecoded_, [this] {
        for (KeyBlock& key : keys_) {
            if (!key.isLink) {  // a link's name is there from the start
                DecodeName(key);
            }
        }
    });
    return keys_;
}

RegistryText::Relation RegistryText::Relate(const KeyBlock& key,
                                            std::u16string_view foldedPath) const {
    const std::string_view name = std::string_view(content_).substr(key.nameOffset, key.nameLength);
    // Most names are ASCII with no escape but "\\": those compare unit by
    // unit as they stand, and nearly all differ within their first names.
    std::size_t matched = 0;  // units of foldedPath matched
    std::size_t i = 0;
    for (; i < name.size(); ++i) {
        char c = name[i];
        if (static_cast<unsigned char>(c) >= 0x80 ||
            (c == '\\' && (i + 1 >= name.size() || name[i + 1] != '\\'))) {
            break;  // needs the whole unescaping
        }
        if (c == '\\') {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (matched == foldedPath.size()) {
            break;  // the name goes on past the path: below it, or trailing backslashes
        }
        if (static_cast<char16_t>(c) != foldedPath[matched]) {
            return Relation::Other;
        }
        ++matched;
    }
    if (i == name.size() && matched < foldedPath.size()) {
        return Relation::Other;  // a name shorter than the path
    }
    // The rest decides (trailing backslashes are no part of the path):
    // unescaped and compared whole.
    std::u16string path;
    ParseEscaped(std::string_view(content_).substr(key.nameOffset, key.nameLength + 1), ']', path);
    const std::u16string folded = FoldRegistryNameCase(TrimTrailingBackslashes(path));
    if (folded == foldedPath) {
        return Relation::Same;
    }
    const bool below = folded.size() > foldedPath.size() &&
                       folded.compare(0, foldedPath.size(), foldedPath) == 0 &&
                       (foldedPath.empty() || folded[foldedPath.size()] == u'\\');
    return below ? Relation::Below : Relation::Other;
}

const std::vector<std::uint64_t>& RegistryText::Heads() const {
    std::call_once(headsHashed_, [this] {
        heads_.reserve(keys_.size());
        for (const KeyBlock& key : keys_) {
            heads_.push_back(
                EscapedNameHead(std::string_view(content_).substr(key.nameOffset, key.nameLength)));
        }
    });
    return heads_;
}

RegistryText::KeyMatch RegistryText::FindKey(std::u16string_view foldedPath) const {
    KeyMatch match;
    const std::optional<std::uint64_t> head = PathHead(foldedPath);
    const std::vector<std::uint64_t>* heads = head ? &Heads() : nullptr;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (heads != nullptr && (*heads)[i] != *head && (*heads)[i] != kUnsureName) {
            continue;  // another head: neither the key nor below it
        }
        const Relation relation = Relate(keys_[i], foldedPath);
        if (relation == Relation::Same) {
            match.blocks.push_back(&keys_[i]);
        }
        match.atOrBelow = match.atOrBelow || relation != Relation::Other;
    }
    return match;
}

std::vector<const KeyBlock*> RegistryText::LinkKeys() const {
    std::vector<const KeyBlock*> links;
    for (const KeyBlock& key : keys_) {
        if (key.isLink) {
            links.push_back(&key);
        }
    }
    return links;
}

std::string_view RegistryText::LineText(std::size_t line) const {
    return std::string_view(content_).substr(lines_[line].offset, lines_[line].textLength);
}

std::string_view RegistryText::RawLine(std::size_t line) const {
    const std::size_t end = line + 1 < lines_.size() ? lines_[line + 1].offset : content_.size();
    return std::string_view(content_).substr(lines_[line].offset, end - lines_[line].offset);
}

std::string_view RegistryText::LineEnd(std::size_t line) const {
    return RawLine(line).substr(lines_[line].textLength);
}

std::string_view RegistryText::NewLineEnd() const {
    const std::string_view first = lines_.empty() ? std::string_view() : LineEnd(0);
    return first.ends_with('\n') ? first : "\n";
}

std::vector<Value> RegistryText::ReadValues(const KeyBlock& key) const {
    std::vector<Value> values;
    for (std::size_t i = key.headerLine + 1; i < key.endLine; ++i) {
        Value value;
        value.firstLine = i;
        value.endLine = i + 1;
        const std::optional<std::string_view> data = ValueData(LineText(i), value.name);
        const bool decoded = data && DecodeValue(*this, *data, key.endLine, value);
        i = value.endLine - 1;  // past a value's continuation lines, even a broken one's
        if (decoded) {
            values.push_back(std::move(value));
        }
    }
    return values;
}

}  // namespace platform::registry_detail
