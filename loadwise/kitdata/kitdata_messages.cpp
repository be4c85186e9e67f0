#include "loadwise/kitdata/kitdata_messages.h"

namespace kitdata {

std::string StartupProblemsMessage(const std::vector<platform::Error>& problems) {
    std::string text = "Some of the game's files could not be read or made writable:\n";
    for (const platform::Error& problem : problems) {
        text += "\n" + problem.Describe();
    }
    text +=
        "\n\nItems of files that could not be read are missing from the lists. Check that the "
        "game is installed in this Wine prefix and that you may read and write its files.";
    return text;
}

std::string SaveFailedMessage(const platform::Error& error) {
    // The reason says when some files were replaced before the failure.
    return "The kit could not be saved:\n\n" + error.Describe() +
           "\n\nCheck that the game's files exist and that you may write them, then try again.";
}

}  // namespace kitdata
