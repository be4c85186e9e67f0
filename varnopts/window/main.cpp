#include "varnopts/window/varn_options_app.h"

int main(int argc, char** argv) {
    return platform::ui::RunProgram<CVarnOptionsApp>(argc, argv);
}
