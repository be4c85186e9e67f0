// Messages as the user sees and answers them: the icon, the buttons, the
// answer given back, Windows-1252 text shown right.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/message.h"
#include "platform/ui/qt_message_box.h"

namespace {

using namespace platform;

TEST(QtMessageBox, StylesGiveIconsButtonsAndAnswers) {
    MessageOperation previous = SetMessageOperation({});
    ui::InstallQtMessageBox();
    struct Case {
        unsigned style;
        QMessageBox::StandardButton answer;
        QMessageBox::Icon icon;
        int expected;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONHAND, QMessageBox::Ok, QMessageBox::Critical, IDOK},
        {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Ok, QMessageBox::Warning, IDOK},
        {MB_OK, QMessageBox::Ok, QMessageBox::NoIcon, IDOK},
        {MB_YESNO | MB_ICONEXCLAMATION, QMessageBox::Yes, QMessageBox::Warning, IDYES},
        {MB_YESNO, QMessageBox::No, QMessageBox::NoIcon, IDNO},
    };
    for (const Case& c : cases) {
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), c.icon) << c.style;
            shown = box->windowTitle() + ": " + box->text();
            box->button(c.answer)->click();
        });
        EXPECT_EQ(ShowMessage("Error opening reg key \xE9", "Loadwise", c.style), c.expected);
        EXPECT_EQ(shown, QString::fromUtf8("Loadwise: Error opening reg key \xC3\xA9"));
    }
    SetMessageOperation(std::move(previous));
}

}  // namespace
