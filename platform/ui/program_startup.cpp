#include "platform/ui/program_startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdlib>
#include <iostream>

#include "platform/prefix_selection.h"
#include "platform/ui/prefix_chooser.h"

namespace platform::ui {

namespace {

const QCommandLineOption& PrefixOption() {
    static const QCommandLineOption option(
        QStringLiteral("prefix"),
        QStringLiteral("Work on the game in the Wine prefix DIR (the folder that holds drive_c) "
                       "instead of WINEPREFIX or the prefixes found on their own."),
        QStringLiteral("DIR"));
    return option;
}

void SetUp(QCommandLineParser& parser, const ProgramInfo& info) {
    parser.setApplicationDescription(
        info.description +
        QStringLiteral("\n\nWithout --prefix or WINEPREFIX it looks for the game in ~/.wine "
                       "and in the prefixes of Lutris, Bottles, Heroic and Steam, and asks when "
                       "several hold it. Wine programs run with $WINE, else the Wine build the "
                       "prefix's launcher uses, else wine on the PATH."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(PrefixOption());
}

}  // namespace

void AnswerCommandLine(int argc, char** argv, const ProgramInfo& info) {
    if (argc < 2) {
        return;  // nothing to answer; no second application object is made
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(info.name);
    QCoreApplication::setApplicationVersion(info.version);
    QCommandLineParser parser;
    SetUp(parser, info);
    // Wrong options are refused later, once the window system's own options
    // (-platform, -style ...) have been taken out.
    (void)parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp();
    }
    if (parser.isSet(QStringLiteral("version"))) {
        parser.showVersion();
    }
}

std::optional<WinePrefix> StartupPrefix(const QStringList& arguments, const ProgramInfo& info,
                                        const std::string& gameKey) {
    QCommandLineParser parser;
    SetUp(parser, info);
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
