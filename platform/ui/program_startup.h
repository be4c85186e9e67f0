#pragma once
// What both programs do before their window opens: read the command line
// (--prefix DIR, --help, --version), find the game's prefix and its Wine,
// ask when several prefixes hold the game, and say on standard error which
// prefix and Wine are used.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "platform/ui/read_ahead.h"
#include "platform/wine_prefix.h"

namespace platform::ui {

struct ProgramInfo {
    QString name;  // the command's name
    QString version;
    QString description;  // one sentence for --help
};

// Called first thing in main(): answers --help and --version, and refuses a
// wrong option, ending the process, before anything needs a display.
// Returns the value of --prefix ("" without it).
std::string AnswerCommandLine(int argc, char** argv, const ProgramInfo& info);

// The whole main() of a program whose application object App gives Info()
// and runs its window in InitInstance(): the command line is answered, what
// the window needs is read ahead, and the window runs. beforeWindow, when
// given, runs once the application object exists (the start-up benchmark
// watches for the window from there).
template <class App>
int RunProgram(int argc, char** argv, const std::function<void()>& beforeWindow = {}) {
    const std::string prefixArgument = AnswerCommandLine(argc, argv, App::Info());
    StartReadAhead(prefixArgument);
    App app(argc, argv);
    if (beforeWindow) {
        beforeWindow();
    }
    app.InitInstance();
    return 0;
}

// Nothing is returned when the user cancels the choice of prefix: the
// program then ends.
std::optional<WinePrefix> StartupPrefix(const QStringList& arguments, const ProgramInfo& info,
                                        const std::string& gameKey);

}  // namespace platform::ui
