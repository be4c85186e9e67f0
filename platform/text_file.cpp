#include "platform/text_file.h"

#include "platform/file_read.h"

namespace fs = std::filesystem;

namespace platform {

Result<std::vector<std::string>> ReadTextLines(const fs::path& file) {
    Result<std::string> bytes = ReadWholeFile(file);
    if (!bytes) {
        return bytes.error();
    }
    std::vector<std::string> lines;
    std::string_view rest = *bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (end == std::string_view::npos) {
            rest = {};
        } else {
            rest.remove_prefix(end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
        }
        lines.emplace_back(line);
    }
    return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        // Text mode writes every line feed as CR LF, one inside a line too.
        for (char c : line) {
            if (c == '\n') {
                text += '\r';
            }
            text += c;
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace platform
