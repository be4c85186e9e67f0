#include "platform/wine_program.h"

#include <cstdlib>

#include "platform/process_environment.h"
#include "platform/wine_build.h"

namespace platform {

std::string WineProgram() {
    const char* wine = std::getenv("WINE");
    return wine != nullptr && *wine != '\0' ? wine : "wine";
}

std::string WineProgram(const WinePrefix& prefix) {
    return prefix.wine.program.empty() ? WineProgram() : prefix.wine.program;
}

std::vector<std::string> EnvironmentWithPrefix(const WinePrefix& prefix) {
    return EnvironmentWith(WineVariables(prefix));
}

std::string WineNotFound(const std::string& wine) {
    return "the program \"" + wine + "\" was not found; install Wine";
}

bool SaysWine32IsMissing(const std::string& output) {
    return output.find("wine32 is missing") != std::string::npos;
}

}  // namespace platform
