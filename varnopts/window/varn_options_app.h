#pragma once
// The application object: runs the options window and ends with it.

#include <QApplication>

#include "platform/ui/program_startup.h"

#include "varnopts/window/varn_options_dlg.h"

class CVarnOptionsApp : public QApplication {
    Q_OBJECT
  public:
    CVarnOptionsApp(int& argc, char** argv);

    // Name, version and --help text of the command.
    static const platform::ui::ProgramInfo& Info();

    // Finds the game's Wine prefix (see platform/ui/program_startup.h) and
    // runs the options window on it. Returns FALSE: the
    // program ends as soon as the window has closed.
    BOOL InitInstance();
};
