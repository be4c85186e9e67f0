#pragma once
// What both programs do before their window opens: read the command line
// (--prefix DIR, --help, --version), find the game's prefix and its Wine,
// ask when several prefixes hold the game, and say on standard error which
// prefix and Wine are used.

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

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

// Nothing is returned when the user cancels the choice of prefix: the
// program then ends.
std::optional<WinePrefix> StartupPrefix(const QStringList& arguments, const ProgramInfo& info,
                                        const std::string& gameKey);

}  // namespace platform::ui
