#include "platform/ui/read_ahead.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/prefix_selection.h"
#include "platform/registry.h"

namespace platform::ui {

namespace {

// A thread joined at the latest when the process ends, so that none runs on
// while the program's statics are destroyed.
struct ReadAheadThread {
    std::thread thread;
    ~ReadAheadThread() { Join(); }
    void Join() {
        if (thread.joinable()) {
            thread.join();
        }
    }
    template <class Work>
    void Start(Work work) {
        try {
            thread = std::thread(std::move(work));
        } catch (const std::system_error&) {
            // No thread to be had: the work is done when first needed, as without this.
        }
    }
};

ReadAheadThread fonts;
ReadAheadThread registry;

}  // namespace

void StartReadAhead(const std::string& prefixArgument) {
    if (fonts.thread.joinable() || registry.thread.joinable()) {
        return;
    }
    // FcInit loads the configuration that Qt's font database asks for later;
    // fontconfig keeps it for the whole process.
    fonts.Start([] { FcInit(); });
    // The folder is worked out here: the environment is read before the
    // window system starts, which may change it.
    const std::filesystem::path prefix =
        PrefixToReadFirst(CurrentSelectionInput({}, prefixArgument));
    // Also while a wineserver runs: the saved file tells whether the prefix
    // holds the game, before its keys are read through the server.
    if (!prefix.empty()) {
        registry.Start([prefix] { ReadRegistryAhead(prefix); });
    }
}

void AwaitFontConfiguration() {
    fonts.Join();
}

}  // namespace platform::ui
