#include "platform/process_environment.h"

#include <cstdlib>
#include <string_view>

extern char** environ;

namespace platform {
namespace {

std::string_view VariableName(std::string_view entry) {
    return entry.substr(0, entry.find('='));
}

}  // namespace

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides) {
    std::vector<std::string> environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        bool replaced = false;
        for (const std::string& override : overrides) {
            replaced = replaced || VariableName(override) == VariableName(*entry);
        }
        if (!replaced) {
            environment.emplace_back(*entry);
        }
    }
    environment.insert(environment.end(), overrides.begin(), overrides.end());
    return environment;
}

std::vector<char*> NullTerminatedPointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::string TemporaryFilesFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp == '/' ? tmp : "/tmp";
}

}  // namespace platform
