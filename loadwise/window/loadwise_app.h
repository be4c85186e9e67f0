#pragma once
// The application object: runs the kit selector's window and ends with it.

#include <QApplication>

#include "platform/ui/program_startup.h"

class CLoadwiseApp : public QApplication {
    Q_OBJECT
  public:
    CLoadwiseApp(int& argc, char** argv);

    // Name, version and --help text of the command.
    static const platform::ui::ProgramInfo& Info();

    // Finds the game's Wine prefix (see platform/ui/program_startup.h) and
    // runs the main window on it. Returns false: the
    // program ends as soon as the window has closed, saved or not.
    bool InitInstance();
};
