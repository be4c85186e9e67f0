#pragma once
// The application object: runs the options window and ends with it.

#include <QApplication>

#include "varnopts/window/varn_options_dlg.h"

class CVarnOptionsApp : public QApplication {
    Q_OBJECT
  public:
    CVarnOptionsApp(int& argc, char** argv);

    // Runs the options window on the game's Wine prefix. Returns FALSE: the
    // program ends as soon as the window has closed.
    BOOL InitInstance();
};
