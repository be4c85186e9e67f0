#include "loadwise/window/loadwise_app.h"

int main(int argc, char** argv) {
    return platform::ui::RunProgram<CLoadwiseApp>(argc, argv);
}
