#include "varnopts/window/varn_options_app.h"

int main(int argc, char** argv) {
    CVarnOptionsApp app(argc, argv);
    app.InitInstance();
    return 0;
}
