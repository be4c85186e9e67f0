#include "platform/ui/program_startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdlib>
#include <iostream>

#include "platform/message.h"
#include "platform/prefix_selection.h"
#include "platform/ui/prefix_chooser.h"

namespace platform::ui {

namespace {

const QCommandLineOption& PrefixOption() {
    static const QCommandLineOption option(
        QStringLiteral("prefix"),
        QStringLiteral("Work on the game in the Wine prefix DIR (the folder that holds "
                       "system.reg and drive_c; a folder inside a prefix means that prefix) "
                       "instead of WINEPREFIX or the prefixes found on their own."),
        QStringLiteral("DIR"));
    return option;
}

void SetUp(QCommandLineParser& parser, const ProgramInfo& info) {
    const QString remembered = QString::fromStdString(
        RememberedPrefixFile(CurrentSelectionInput({}, {}).configHome).string());
    parser.setApplicationDescription(
        info.description +
        QStringLiteral("\n\nWithout --prefix or WINEPREFIX it looks for the game in ~/.wine, "
                       "~/Games and the prefixes of Lutris, Bottles, Heroic and Steam (every "
                       "library, native and Flatpak), and asks when several hold it. A folder "
                       "inside a prefix (its drive_c, the game's folder) means that prefix."
                       "\n\nA prefix chosen with \"Remember this choice\" is kept in ") +
        remembered +
        QStringLiteral(" and used first while it holds the game; to forget it, delete that "
                       "file. Wine programs run with $WINE, else the Wine build the prefix's "
                       "launcher uses, else wine on the PATH."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(PrefixOption());
}

// The window system's own options (-platform offscreen, -style ...), which
// the application object takes out later: known here so that anything else
// can be refused before a display is needed.
void AddToolkitOptions(QCommandLineParser& parser) {
    const char* const withValue[] = {"platform",
                                     "platformpluginpath",
                                     "platformtheme",
                                     "plugin",
                                     "qwindowgeometry",
                                     "qwindowicon",
                                     "qwindowtitle",
                                     "geometry",
                                     "title",
                                     "display",
                                     "name",
                                     "session",
                                     "style",
                                     "stylesheet",
                                     "qmljsdebugger",
                                     "visual",
                                     "ncols",
                                     "im",
                                     "inputstyle"};
    const char* const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "cmap"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The parser that reads the command line, before and after the application
// object has taken out the options it knows: single-dash words are long
// options (-platform, -prefix), and the toolkit's options are known, since
// a platform plugin leaves those that are not its own (-display offscreen).
void SetUpReading(QCommandLineParser& parser, const ProgramInfo& info) {
    SetUp(parser, info);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    AddToolkitOptions(parser);
}

[[noreturn]] void Refuse(const ProgramInfo& info, const QString& what) {
    std::cerr << info.name.toStdString() << ": " << what.toStdString() << "; see "
              << info.name.toStdString() << " --help\n";
    std::exit(1);
}

}  // namespace

std::string AnswerCommandLine(int argc, char** argv, const ProgramInfo& info) {
    if (argc < 2) {
        return {};  // nothing to answer; no second application object is made
    }
    // No display is needed for this: plain text, and the process ends.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(info.name);
    QCoreApplication::setApplicationVersion(info.version);
    QCommandLineParser parser;
    SetUp(parser, info);
    QCommandLineParser full;
    SetUpReading(full, info);
    const bool parsed = full.parse(QCoreApplication::arguments());
    if (full.isSet(QStringLiteral("help"))) {
        parser.showHelp();
    }
    if (full.isSet(QStringLiteral("version"))) {
        parser.showVersion();
    }
    if (!parsed) {
        QString why = full.errorText();
        Refuse(info, why.endsWith(QLatin1Char('.')) ? why.chopped(1) : why);
    }
    if (!full.positionalArguments().isEmpty()) {
        Refuse(info, QStringLiteral("unexpected argument ") + full.positionalArguments().front());
    }
    return full.value(PrefixOption()).toStdString();
}

std::optional<WinePrefix> StartupPrefix(const QStringList& arguments, const ProgramInfo& info,
                                        const std::string& gameKey) {
    QCommandLineParser parser;
    SetUpReading(parser, info);
    parser.process(arguments);
    const std::string program = info.name.toStdString();
    if (!parser.positionalArguments().isEmpty()) {
        std::cerr << program << ": unexpected argument "
                  << parser.positionalArguments().front().toStdString() << "; see " << program
                  << " --help\n";
        std::exit(1);
    }
    const QCommandLineOption& prefixOption = PrefixOption();

    PrefixSelection selection =
        SelectPrefix(CurrentSelectionInput(gameKey, parser.value(prefixOption).toStdString()));
    if (!selection.refusal.empty()) {
        // Never the main window on a folder that is no prefix. --prefix is
        // typed in a terminal; a WINEPREFIX may come with a desktop session,
        // where standard error is seen by no one.
        std::cerr << program << ": " << selection.refusal << '\n';
        if (!parser.isSet(prefixOption)) {
            ShowMessage(WithDetails("WINEPREFIX names no Wine prefix.", selection.refusal), program,
                        MB_OK | MB_ICONHAND);
        }
        std::exit(1);
    }
    for (const std::string& note : selection.notes) {
        std::cerr << program << ": " << note << '\n';
    }
    if (!selection.prefix) {
        PrefixChooser chooser(selection.candidates, selection.notes);
        if (chooser.exec() != QDialog::Accepted || chooser.chosen() < 0) {
            std::cerr << program << ": no prefix chosen; nothing was done\n";
            return std::nullopt;
        }
        selection.prefix = selection.candidates[chooser.chosen()].prefix;
        selection.prefix->foundHow = "chosen among " + std::to_string(selection.candidates.size()) +
                                     " prefixes that hold the game";
        if (chooser.remember()) {
            const SelectionInput input = CurrentSelectionInput(gameKey, {});
            if (const Status saved = RememberPrefix(input.configHome, selection.prefix->folder);
                saved.ok()) {
                selection.prefix->foundHow +=
                    ", remembered in " + RememberedPrefixFile(input.configHome).string();
            } else {
                std::cerr << program << ": " << saved.error().Describe() << '\n';
            }
        }
    }
    std::cerr << StartupLine(program, *selection.prefix) << std::endl;
    return selection.prefix;
}

}  // namespace platform::ui
