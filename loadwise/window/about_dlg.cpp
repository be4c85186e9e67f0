#include "loadwise/window/about_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "loadwise/res/dialog_templates.h"
#include "loadwise/res/program_icon.h"
#include "loadwise/res/resource_ids.h"
#include "platform/ui/dialog_builder.h"

namespace loadwise {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto* builder = platform::ui::DialogBuilder::Build(this, AboutBoxTemplate());
    if (auto* icon = findChild<QLabel*>(QStringLiteral("IDR_MAINFRAME"))) {
        icon->setPixmap(ProgramIcon().pixmap(32, 32));
    }
    if (auto* ok = builder->Control<QPushButton>(IDOK)) {
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        ok->setFocus();
    }
    setWindowIcon(ProgramIcon());
}

}  // namespace loadwise
