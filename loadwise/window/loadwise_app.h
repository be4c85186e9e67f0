#pragma once
// The application object: runs the kit selector's window and ends with it.

#include <QApplication>

class CLoadwiseApp : public QApplication {
    Q_OBJECT
  public:
    CLoadwiseApp(int& argc, char** argv);

    // Runs the main window on the game's Wine prefix. Returns false: the
    // program ends as soon as the window has closed, saved or not.
    bool InitInstance();
};
