// varnopts's main, ended by the probe the moment its window is shown.

#include "platform/ui/read_ahead.h"
#include "shown_probe.h"
#include "varnopts/window/varn_options_app.h"

int main(int argc, char** argv) {
    platform::ui::StartReadAhead({});
    CVarnOptionsApp app(argc, argv);
    bench::ShownProbe probe("CVarnOptionsDlg");
    app.InitInstance();
    return 0;
}
