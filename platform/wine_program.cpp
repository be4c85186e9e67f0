#include "platform/wine_program.h"

#include <cstdlib>

#include "platform/process_environment.h"

namespace platform {

std::string WineProgram() {
    const char* wine = std::getenv("WINE");
    return wine != nullptr && *wine != '\0' ? wine : "wine";
}

std::vector<std::string> EnvironmentWithPrefix(const WinePrefix& prefix) {
    return EnvironmentWith({"WINEPREFIX=" + prefix.folder.string()});
}

std::string WineNotFound(const std::string& wine) {
    return "the program \"" + wine + "\" was not found; install Wine";
}

bool SaysWine32IsMissing(const std::string& output) {
    return output.find("wine32 is missing") != std::string::npos;
}

}  // namespace platform
