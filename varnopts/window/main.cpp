#include "platform/ui/read_ahead.h"
#include "varnopts/window/varn_options_app.h"

int main(int argc, char** argv) {
    const std::string prefixArgument =
        platform::ui::AnswerCommandLine(argc, argv, CVarnOptionsApp::Info());
    platform::ui::StartReadAhead(prefixArgument);
    CVarnOptionsApp app(argc, argv);
    app.InitInstance();
    return 0;
}
