// Loadwise's main, ended by the probe the moment its window is shown.

#include "loadwise/window/loadwise_app.h"
#include "platform/ui/read_ahead.h"
#include "shown_probe.h"

int main(int argc, char** argv) {
    platform::ui::StartReadAhead({});
    CLoadwiseApp app(argc, argv);
    bench::ShownProbe probe("CLoadwiseDlg");
    app.InitInstance();
    return 0;
}
