#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/message.h"
#include "platform/ui/qt_message_box.h"
#include "platform/ui/wait_cursor.h"

namespace {

using namespace platform;

// Restores whatever message operation was installed before the test.
class QtMessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { previous_ = SetMessageOperation({}); }
    void TearDown() override { SetMessageOperation(std::move(previous_)); }

    // Shows a message and answers it with the given button once it is up.
    int ShowAndAnswer(const std::string& text, unsigned style, QMessageBox::StandardButton answer,
                      QMessageBox::Icon& icon, QString& shownText, QString& caption) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            shownText = box->text();
            caption = box->windowTitle();
            box->button(answer)->click();
        });
        return ShowMessage(text, "Loadwise", style);
    }

    MessageOperation previous_;
};

TEST_F(QtMessageBoxTest, StylesGiveIconsButtonsAndAnswers) {
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
        QMessageBox::Icon icon{};
        QString text;
        QString caption;
        EXPECT_EQ(
            ShowAndAnswer("Error opening reg key \xE9", c.style, c.answer, icon, text, caption),
            c.expected)
            << c.style;
        EXPECT_EQ(icon, c.icon) << c.style;
        EXPECT_EQ(text, QString::fromUtf8("Error opening reg key \xC3\xA9"));
        EXPECT_EQ(caption, "Loadwise");
    }
}

TEST(WaitCursorTest, ShowsTheHourglassWhileItLives) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        ui::WaitCursor wait;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        wait.Restore();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    { ui::WaitCursor wait; }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
