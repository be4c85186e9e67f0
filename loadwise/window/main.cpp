#include "loadwise/window/loadwise_app.h"
#include "platform/ui/read_ahead.h"

int main(int argc, char** argv) {
    const std::string prefixArgument =
        platform::ui::AnswerCommandLine(argc, argv, CLoadwiseApp::Info());
    platform::ui::StartReadAhead(prefixArgument);
    CLoadwiseApp app(argc, argv);
    app.InitInstance();
    return 0;
}
