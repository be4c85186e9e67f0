#include "varnopts/res/program_icon.h"

#include "platform/ui/resource_icon.h"

// The icons' resource lives in a static library: it is registered here, by
// name, so that the linker keeps it in every program that shows the icon.
static void RegisterIconResource() {
    Q_INIT_RESOURCE(varnopts_icons);
}

namespace varnopts::res {

QIcon ProgramIcon() {
    RegisterIconResource();
    return platform::ui::ResourceIcon(QStringLiteral(":/varnopts/icon"));
}

}  // namespace varnopts::res
