#include "loadwise/window/loadwise_app.h"

int main(int argc, char** argv) {
    CLoadwiseApp app(argc, argv);
    app.InitInstance();
    return 0;
}
