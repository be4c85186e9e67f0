#include "varnopts/window/varn_options_app.h"

int main(int argc, char** argv) {
    platform::ui::AnswerCommandLine(argc, argv, CVarnOptionsApp::Info());
    CVarnOptionsApp app(argc, argv);
    app.InitInstance();
    return 0;
}
