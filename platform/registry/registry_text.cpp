#include "platform/registry/registry_text_p.h"

#include <algorithm>
#include <iterator>

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

// The index's key: a hash of a path's first three names (folded, with the
// backslashes between them). Equal names give equal hashes; a collision
// only adds keys to compare.
constexpr int kHeadNames = 3;
constexpr std::uint64_t kHashStart = 14695981039346656037ULL;  // FNV-1a
constexpr std::uint64_t kHashFactor = 1099511628211ULL;

std::uint64_t Mix(std::uint64_t hash, char16_t unit) {
    return (hash ^ unit) * kHashFactor;
}

// The hash of a folded path's head; nothing for a path of three names or fewer.
std::optional<std::uint64_t> PathHead(std::u16string_view foldedPath) {
    std::uint64_t hash = kHashStart;
    int separators = 0;
    for (const char16_t unit : foldedPath) {
        if (unit == u'\\' && ++separators == kHeadNames) {
            return hash;
        }
        hash = Mix(hash, unit);
    }
    return std::nullopt;
}

// The head of a key's escaped name, read as Relate's quick comparison reads
// it: plain ASCII, "\\" between names. Short: such a name of three names or
// fewer, which is never at or below a path of four. Unsure: anything else
// (another escape, other bytes, an empty name), left to Relate.
struct NameHead {
    enum class Kind { Head, Short, Unsure } kind;
    std::uint64_t hash = 0;
};

NameHead EscapedNameHead(std::string_view name) {
    std::uint64_t hash = kHashStart;
    int separators = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            return {NameHead::Kind::Unsure};
        }
        if (c == '\\') {
            if (i + 1 >= name.size() || name[i + 1] != '\\' || i + 2 >= name.size() ||
                name[i + 2] == '\\') {
                return {NameHead::Kind::Unsure};
            }
            ++i;
            if (++separators == kHeadNames) {
                return {NameHead::Kind::Head, hash};
            }
        } else if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        hash = Mix(hash, static_cast<char16_t>(c));
    }
    return {NameHead::Kind::Short};
}

}  // namespace

RegistryText::RegistryText(std::string content) : content_(std::move(content)) {
    lines_.reserve(content_.size() / 32);
    std::size_t offset = 0;
    while (offset < content_.size()) {
        const std::size_t newline = content_.find('\n', offset);
        const std::size_t end = newline == std::string::npos ? content_.size() : newline + 1;
        std::size_t textEnd = newline == std::string::npos ? content_.size() : newline;
        if (textEnd > offset && content_[textEnd - 1] == '\r') {
            --textEnd;
        }
        lines_.push_back({offset, textEnd - offset, end - offset});
        offset = end;
    }

    validHeader_ = !lines_.empty() && TrimRight(LineText(0)) == kHeader;
    keys_.reserve(lines_.size() / 4);  // wineserver writes a few lines per key
    KeyBlock* current = nullptr;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view text = TrimLeft(LineText(i));
        if (StartsWith(text, "[")) {
            if (current != nullptr) {
                current->endLine = i;
            }
            const std::optional<std::size_t> nameLength = EscapedLength(text.substr(1), ']');
            if (!nameLength) {
                current = nullptr;  // a broken key line: its values belong to no key
                continue;
            }
            KeyBlock key;
            key.nameOffset = static_cast<std::size_t>(text.data() + 1 - content_.data());
            key.nameLength = *nameLength;
            key.headerLine = i;
            key.endLine = lines_.size();
            key.lastContentLine = i;
            keys_.push_back(std::move(key));
            current = &keys_.back();
        } else if (current == nullptr) {
            if (TrimRight(text) == "#arch=win64") {
                win64_ = true;
            }
        } else if (!text.empty()) {  // TrimLeft leaves a blank line empty
            current->lastContentLine = i;
            if (text[0] == '#' && TrimRight(text) == "#link") {
                current->isLink = true;
            }
        }
    }
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

const RegistryText::HeadIndex& RegistryText::Index() const {
    std::call_once(indexed_, [this] {
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            const KeyBlock& key = keys_[i];
            const NameHead head =
                EscapedNameHead(std::string_view(content_).substr(key.nameOffset, key.nameLength));
            if (head.kind == NameHead::Kind::Head) {
                index_.byHead[head.hash].push_back(i);
            } else if (head.kind == NameHead::Kind::Unsure) {
                index_.unsure.push_back(i);
            }
        }
    });
    return index_;
}

RegistryText::KeyMatch RegistryText::FindKey(std::u16string_view foldedPath) const {
    KeyMatch match;
    const auto compare = [&](const KeyBlock& key) {
        const Relation relation = Relate(key, foldedPath);
        if (relation == Relation::Same) {
            match.blocks.push_back(&key);
        }
        match.atOrBelow = match.atOrBelow || relation != Relation::Other;
    };
    const std::optional<std::uint64_t> head = PathHead(foldedPath);
    if (!head) {
        for (const KeyBlock& key : keys_) {
            compare(key);
        }
        return match;
    }
    const HeadIndex& index = Index();
    const auto found = index.byHead.find(*head);
    const std::vector<std::size_t> none;
    const std::vector<std::size_t>& sameHead = found != index.byHead.end() ? found->second : none;
    // In file order, as the blocks of a key are given.
    std::vector<std::size_t> candidates;
    candidates.reserve(sameHead.size() + index.unsure.size());
    std::merge(sameHead.begin(), sameHead.end(), index.unsure.begin(), index.unsure.end(),
               std::back_inserter(candidates));
    for (const std::size_t i : candidates) {
        compare(keys_[i]);
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
    return std::string_view(content_).substr(lines_[line].offset, lines_[line].fullLength);
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
