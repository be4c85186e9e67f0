#include "platform/steam_libraries.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "platform/file_read.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

struct Token {
    bool quoted = false;
    std::string text;  // the string's text, or "{" / "}"
};

// The quoted strings and braces of a VDF text; "//" starts a comment.
std::vector<Token> Tokens(std::string_view vdf) {
    std::vector<Token> tokens;
    std::size_t at = 0;
    while (at < vdf.size()) {
        const char c = vdf[at];
        if (c == '{' || c == '}') {
            tokens.push_back({false, std::string(1, c)});
            ++at;
        } else if (c == '"') {
            Token token{true, {}};
            for (++at; at < vdf.size() && vdf[at] != '"'; ++at) {
                if (vdf[at] == '\\' && at + 1 < vdf.size()) {
                    ++at;  // \\ and \" stand for the character
                }
                token.text += vdf[at];
            }
            ++at;
            tokens.push_back(std::move(token));
        } else if (vdf.substr(at, 2) == "//") {
            at = std::min(vdf.find('\n', at), vdf.size());
        } else {
            ++at;
        }
    }
    return tokens;
}

bool IsNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::vector<std::string> LibraryFolderPaths(std::string_view vdf) {
    const std::vector<Token> tokens = Tokens(vdf);
    std::vector<std::string> paths;
    std::vector<std::string> blocks;  // the keys of the open blocks
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (!token.quoted) {
            if (token.text == "}" && !blocks.empty()) {
                blocks.pop_back();
            }
            continue;
        }
        if (i + 1 >= tokens.size()) {
            break;
        }
        const Token& next = tokens[i + 1];
        if (!next.quoted) {
            if (next.text == "{") {
                blocks.push_back(token.text);
            }
            ++i;
            continue;
        }
        // A key and its value.
        const bool older = blocks.size() == 1 && IsNumber(token.text);
        const bool current = blocks.size() == 2 && IsNumber(blocks[1]) && token.text == "path";
        if ((older || current) && !next.text.empty()) {
            paths.push_back(next.text);
        }
        ++i;
    }
    return paths;
}

std::vector<fs::path> SteamFolders(const fs::path& home) {
    std::vector<fs::path> folders;
    for (const char* steam : {".local/share/Steam", ".steam/steam",
                              ".var/app/com.valvesoftware.Steam/.local/share/Steam",
                              ".var/app/com.valvesoftware.Steam/data/Steam"}) {
        std::error_code error;
        if (fs::is_directory(home / steam, error)) {
            folders.push_back(home / steam);
        }
    }
    return folders;
}

std::vector<fs::path> SteamLibraries(const fs::path& home) {
    std::vector<fs::path> libraries;
    const auto add = [&libraries](const fs::path& steamapps) {
        std::error_code error;
        if (!fs::is_directory(steamapps, error)) {
            return;  // listed but not there now
        }
        const bool seen =
            std::any_of(libraries.begin(), libraries.end(), [&](const fs::path& known) {
                return known == steamapps || fs::equivalent(known, steamapps, error);
            });
        if (!seen) {
            libraries.push_back(steamapps);
        }
    };
    const std::vector<fs::path> steams = SteamFolders(home);
    for (const fs::path& steam : steams) {
        add(steam / "steamapps");
    }
    for (const fs::path& steam : steams) {
        // Newer Steam keeps the list in config/ as well; steamapps/ has it always.
        if (const Result<std::string> vdf = ReadWholeFile(steam / "steamapps/libraryfolders.vdf")) {
            for (const std::string& path : LibraryFolderPaths(*vdf)) {
                if (path.starts_with("/")) {
                    add(fs::path(path) / "steamapps");
                }
            }
        }
    }
    return libraries;
}

fs::path SteamProtonWine(const fs::path& home, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) {
        return {};
    }
    for (const fs::path& steamapps : SteamLibraries(home)) {
        for (const char* inside : {"files/bin/wine", "dist/bin/wine"}) {
            std::error_code error;
            if (fs::exists(steamapps / "common" / name / inside, error)) {
                return steamapps / "common" / name / inside;
            }
        }
    }
    return {};
}

}  // namespace platform
