// Opening the options window: what a fresh start shows, the captions, Start
// EW, and what the user sees when the game cannot be found.

#include <gtest/gtest.h>

#include <ostream>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QTimer>

#include "platform/message.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using namespace varnwindowtest;

namespace {

QStringList Entries(const QComboBox* combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

QString Caption(const QWidget* control) {
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* group = qobject_cast<const QGroupBox*>(control)) {
        return group->title();
    }
    if (auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    return {};
}

TEST(OptionsWindowStart, FreshStartShowsTheFirstEntryOfEveryList) {
    testsupport::MessageRecorder messages;
    FakeInstallation installation;
    auto window = OpenWindow(installation);

    struct ListCase {
        const char* control;
        QStringList entries;
        bool editable;
    };
    const ListCase cases[] = {
        {"IDC_COMBO_MP_MODE", {"Default", "Tango", "Pistols and Shotguns Only", "9mm Only"}, false},
        {"IDC_COMBO_QUICK_WEAPON",
         {"Team VARN - Rainbow", "Team VARN - Assault", "Team VARN - Recon/Recce",
          "Team VARN - Heavy Support", "Team VARN - Tango", "Multiplayer Only - All"},
         true},
        {"IDC_COMBO_SOUND", {"High Quality", "Low Quality"}, false},
        {"IDC_COMBO_GOCODES", {"Multiplayer", "Original"}, false},
    };
    for (const ListCase& list : cases) {
        SCOPED_TRACE(list.control);
        auto* combo = Control<QComboBox>(*window, list.control);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(Entries(combo), list.entries);
        EXPECT_EQ(combo->currentIndex(), 0);
        EXPECT_EQ(combo->currentText(), list.entries.front());
        EXPECT_EQ(combo->isEditable(), list.editable);
    }
    auto* slider = Control<QSlider>(*window, "IDC_SLIDER_MOUSE");
    EXPECT_EQ(slider->minimum(), 100);
    EXPECT_EQ(slider->maximum(), 25000);
    EXPECT_EQ(slider->value(), 8727);
    EXPECT_EQ(window->windowTitle(), "VARN MOD Options");
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->GameFolder(), installation.GameValue("InstallationPath"));
    EXPECT_TRUE(messages.messages().empty());
}

TEST(OptionsWindowStart, CaptionsAreTheRunTimeTexts) {
    FakeInstallation installation;
    auto window = OpenWindow(installation);
    const std::pair<const char*, const char*> captions[] = {
        {"IDOK", "E&xit"},
        {"IDC_INSTALL", "&Save"},
        {"IDC_HELP_BUTTON", "&Help"},
        {"IDC_RESET", "&Reset"},
        {"IDC_SAVE_MOUSE", "&Save"},
        {"IDC_GROUP_MOUSE", "Mouse sensitivity"},
        {"IDC_LABEL_LOW", "Low"},
        {"IDC_LABEL_HIGH", "High"},
        {"IDC_LABEL_SOUND", "Sound Type"},
        {"IDC_LABEL_GOCODES", "\"Go\" Codes"},
        {"IDC_GROUP_INSTALL", "Install options"},
        {"IDC_START_R6", "S&tart R6"},
        {"IDC_ABOUT", "&About ..."},
        {"IDC_START_EW", "Start &EW"},
        {"IDC_LABEL_QUICK_WEAPON", "Quick Weapon Selection"},
        {"IDC_UNINSTALL_ALL", "&Uninstall All"},
        {"IDC_LABEL_MP_MODE", "Multiplayer Server Mode"},
    };
    for (const auto& [name, caption] : captions) {
        SCOPED_TRACE(name);
        auto* control = Control<QWidget>(*window, name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(Caption(control), QString::fromLatin1(caption));
    }
    // No template placeholder is left anywhere.
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        EXPECT_FALSE(Caption(control).endsWith('1')) << Caption(control).toStdString();
    }
}

TEST(OptionsWindowStart, TabOrderFollowsTheTemplate) {
    FakeInstallation installation(Options(true));
    auto window = OpenWindow(installation);
    const QStringList expected = {"IDOK",
                                  "IDC_COMBO_MP_MODE",
                                  "IDC_INSTALL",
                                  "IDC_HELP_BUTTON",
                                  "IDC_SLIDER_MOUSE",
                                  "IDC_RESET",
                                  "IDC_SAVE_MOUSE",
                                  "IDC_COMBO_SOUND",
                                  "IDC_COMBO_GOCODES",
                                  "IDC_START_R6",
                                  "IDC_ABOUT",
                                  "IDC_START_EW",
                                  "IDC_COMBO_QUICK_WEAPON",
                                  "IDC_UNINSTALL_ALL"};
    QStringList order;
    QWidget* widget = Control<QWidget>(*window, "IDOK");
    ASSERT_NE(widget, nullptr);
    do {
        if (widget->focusPolicy() & Qt::TabFocus && !widget->objectName().isEmpty() &&
            widget->objectName().startsWith("ID")) {
            order << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != Control<QWidget>(*window, "IDOK") && order.size() < 40);
    EXPECT_EQ(order, expected);
}

TEST(OptionsWindowStart, StartEagleWatchNeedsTheExpansionKey) {
    for (const bool eagleWatch : {false, true}) {
        SCOPED_TRACE(eagleWatch);
        FakeInstallation installation(Options(eagleWatch));
        auto window = OpenWindow(installation);
        EXPECT_EQ(Control<QWidget>(*window, "IDC_START_EW")->isEnabled(), eagleWatch);
        // Every other button stays usable.
        for (const char* name :
             {"IDOK", "IDC_INSTALL", "IDC_HELP_BUTTON", "IDC_RESET", "IDC_SAVE_MOUSE",
              "IDC_START_R6", "IDC_ABOUT", "IDC_UNINSTALL_ALL"}) {
            EXPECT_TRUE(Control<QWidget>(*window, name)->isEnabled()) << name;
        }
    }
}

TEST(OptionsWindowStart, WithoutTheModificationKeyTheCurrentFolderServes) {
    testsupport::MessageRecorder messages;
    FakeInstallation installation(WithoutModKey());
    auto window = OpenWindow(installation);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_FALSE(window->GamePaths().m_strModFolder.empty());
}

struct StartFailureCase {
    const char* name;
    InstallationOptions options;
    std::string firstMessage;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const StartFailureCase& param, std::ostream* out) {
    *out << param.name;
}

class OptionsWindowStartFailure : public testing::TestWithParam<StartFailureCase> {};

TEST_P(OptionsWindowStartFailure, ShowsWhyThenEndsWithoutAWindow) {
    testsupport::MessageRecorder messages;
    FakeInstallation installation(GetParam().options);
    CVarnOptionsDlg window(installation.prefix());
    bool everShown = false;
    // Should the start-up wrongly go on, the window is closed again at once.
    QTimer::singleShot(0, &window, [&] {
        everShown = window.isVisible();
        window.done(platform::IDOK);
    });
    EXPECT_EQ(window.DoModal(), platform::IDCANCEL);
    EXPECT_FALSE(everShown);
    EXPECT_FALSE(window.isVisible());

    const std::string general =
        "Rainbow Six has not been installed properly or has not been run for the first time. "
        "Please install or run Rainbow Six before installing.";
    ASSERT_EQ(messages.texts(), (std::vector<std::string>{GetParam().firstMessage, general}));
    for (const auto& message : messages.messages()) {
        EXPECT_EQ(message.caption, "VARN MOD Options");
        EXPECT_EQ(message.style, platform::MB_ICONHAND);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsWindowStartFailure,
    testing::Values(
        StartFailureCase{"NoGameKey", WithoutGameKey(), "Error opening R6 main registry key."},
        StartFailureCase{"NeverRun",
                         Options(false, {{"ActorPath", std::nullopt},
                                         {"MissionPath", std::nullopt},
                                         {"MouseRadiansPerPixel", std::nullopt}}),
                         "Error opening ActorPath path regkey"},
        StartFailureCase{"NoTextPath", Options(false, {{"TextPath", std::nullopt}}),
                         "Error opening TextPath path regkey"},
        StartFailureCase{"NoSensitivity", Options(false, {{"MouseRadiansPerPixel", std::nullopt}}),
                         "Error opening MouseRadiansPerPixel path regkey"}),
    [](const testing::TestParamInfo<StartFailureCase>& info) { return info.param.name; });

}  // namespace
