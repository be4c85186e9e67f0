// varnopts's main, ended by the probe the moment its window is shown.

#include <memory>

#include "shown_probe.h"
#include "varnopts/window/varn_options_app.h"

int main(int argc, char** argv) {
    std::unique_ptr<bench::ShownProbe> probe;
    return platform::ui::RunProgram<CVarnOptionsApp>(
        argc, argv, [&probe] { probe = std::make_unique<bench::ShownProbe>("CVarnOptionsDlg"); });
}
