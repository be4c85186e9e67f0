#include "varnopts/window/about_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/ui/dialog_builder.h"
#include "varnopts/res/dialog_templates.h"
#include "varnopts/res/resource_ids.h"

using namespace varnopts::res;

CAboutDlg::CAboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("IDD_ABOUTBOX"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto* builder = platform::ui::DialogBuilder::Build(this, AboutDialogTemplate());
    if (auto* iconLabel = builder->Control<QLabel>(IDC_ABOUT_ICON)) {
        // Icons are 32 x 32 pixels, as the window system's large icon.
        constexpr int kIconSize = 32;
        iconLabel->setPixmap(icon.pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF()));
        iconLabel->resize(std::max(iconLabel->width(), kIconSize),
                          std::max(iconLabel->height(), kIconSize));
    }
    connect(builder->Control<QPushButton>(IDOK), &QPushButton::clicked, this, &QDialog::accept);
}
