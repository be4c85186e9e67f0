// Loadwise's main, ended by the probe the moment its window is shown.

#include <memory>

#include "loadwise/window/loadwise_app.h"
#include "shown_probe.h"

int main(int argc, char** argv) {
    std::unique_ptr<bench::ShownProbe> probe;
    return platform::ui::RunProgram<CLoadwiseApp>(
        argc, argv, [&probe] { probe = std::make_unique<bench::ShownProbe>("CLoadwiseDlg"); });
}
