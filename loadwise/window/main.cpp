#include "loadwise/window/loadwise_app.h"

int main(int argc, char** argv) {
    platform::ui::AnswerCommandLine(argc, argv, CLoadwiseApp::Info());
    CLoadwiseApp app(argc, argv);
    app.InitInstance();
    return 0;
}
