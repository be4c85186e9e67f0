// Ending the window with Exit, Enter, Escape and the close box, and the About
// box from its button and from the window's menu.

#include <gtest/gtest.h>

#include <ostream>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "platform/message.h"
#include "window_test_support.h"

using testsupport::FakeInstallation;
using namespace varnwindowtest;

namespace {

struct EndingCase {
    const char* name;
    std::function<void(CVarnOptionsDlg&)> act;
    int result;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const EndingCase& param, std::ostream* out) {
    *out << param.name;
}

class OptionsWindowEnding : public testing::TestWithParam<EndingCase> {};

TEST_P(OptionsWindowEnding, EndsTheWindow) {
    FakeInstallation installation;
    auto window = OpenWindow(installation);
    GetParam().act(*window);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsWindowEnding,
    testing::Values(
        EndingCase{"ExitClicked",
                   [](CVarnOptionsDlg& w) {
                       QTest::mouseClick(Control<QPushButton>(w, "IDOK"), Qt::LeftButton);
                   },
                   platform::IDOK},
        EndingCase{"EnterOnExit",
                   [](CVarnOptionsDlg& w) {
                       QTest::keyClick(Control<QPushButton>(w, "IDOK"), Qt::Key_Return);
                   },
                   platform::IDOK},
        EndingCase{"EnterOnAList",
                   [](CVarnOptionsDlg& w) {
                       QTest::keyClick(Control<QComboBox>(w, "IDC_COMBO_SOUND"), Qt::Key_Return);
                   },
                   platform::IDOK},
        EndingCase{"EnterOnTheSlider",
                   [](CVarnOptionsDlg& w) {
                       QTest::keyClick(Control<QSlider>(w, "IDC_SLIDER_MOUSE"), Qt::Key_Enter);
                   },
                   platform::IDOK},
        EndingCase{"Escape",
                   [](CVarnOptionsDlg& w) {
                       QTest::keyClick(Control<QComboBox>(w, "IDC_COMBO_MP_MODE"), Qt::Key_Escape);
                   },
                   platform::IDCANCEL},
        EndingCase{"CloseBox", [](CVarnOptionsDlg& w) { w.close(); }, platform::IDCANCEL}),
    [](const testing::TestParamInfo<EndingCase>& info) { return info.param.name; });

TEST(OptionsWindowKeys, EnterPressesTheFocusedPushButtonInstead) {
    FakeInstallation installation(Options(false, {{"MouseRadiansPerPixel", "0.02"}}));
    auto window = OpenWindow(installation);
    auto* slider = Control<QSlider>(*window, "IDC_SLIDER_MOUSE");
    ASSERT_EQ(slider->value(), 20000);
    auto* reset = Control<QPushButton>(*window, "IDC_RESET");
    reset->setFocus();
    QTest::keyClick(reset, Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(slider->value(), 8727);
}

TEST(OptionsWindowKeys, ExitHasTheFocusAtStart) {
    FakeInstallation installation;
    auto window = OpenWindow(installation);
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(window->focusWidget(), Control<QWidget>(*window, "IDOK"));
    EXPECT_TRUE(Control<QPushButton>(*window, "IDOK")->isDefault());
}

// Runs trigger, reads the About box that it opens, and closes it with OK.
QString AboutBoxText(const std::function<void()>& trigger, QString* title) {
    QString text;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box == nullptr || box->objectName() != "IDD_ABOUTBOX") {
            return;
        }
        opened = true;
        *title = box->windowTitle();
        text = box->findChild<QLabel*>("IDC_ABOUT_VERSION")->text();
        EXPECT_FALSE(box->findChild<QLabel*>("IDC_ABOUT_ICON")->pixmap().isNull());
        QTest::mouseClick(box->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
    });
    trigger();
    EXPECT_TRUE(opened);
    return text;
}

TEST(OptionsWindowAbout, ButtonAndMenuOpenTheSameBox) {
    FakeInstallation installation;
    auto window = OpenWindow(installation);
    QString title;
    EXPECT_EQ(
        AboutBoxText(
            [&] { QTest::mouseClick(Control<QPushButton>(*window, "IDC_ABOUT"), Qt::LeftButton); },
            &title),
        "VARN MOD Options Version 2.0");
    EXPECT_EQ(title, "About VARN MOD Options");

    QAction* menuEntry = window->AboutAction();
    ASSERT_NE(menuEntry, nullptr);
    EXPECT_EQ(menuEntry->text(), "&About VARN MOD Options...");
    EXPECT_TRUE(window->actions().contains(menuEntry));
    EXPECT_EQ(AboutBoxText([&] { menuEntry->trigger(); }, &title), "VARN MOD Options Version 2.0");
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
