#include "platform/ui/dialog_builder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "platform/ui/wrapping_check_box.h"

namespace {

using platform::ui::ControlKind;
using platform::ui::DialogBuilder;
using platform::ui::DialogTemplate;
using platform::ui::DialogUnits;
using platform::ui::ControlStyle::kCentered;
using platform::ui::ControlStyle::kMultiLine;

const DialogTemplate& SampleTemplate() {
    static const DialogTemplate sample{
        "Caf\xE9 options",
        200,
        120,
        {
            {1, ControlKind::DefPushButton, "&Save", 140, 7, 50, 14, false, "IDOK"},
            {2, ControlKind::PushButton, "E&xit", 140, 26, 50, 14, true, "IDCANCEL"},
            {1010, ControlKind::GroupBox, "Options", 7, 7, 120, 100, false, "IDC_GROUP"},
            {-1, ControlKind::Static, "&Quick weapon", 12, 18, 80, 8},
            {1011, ControlKind::ComboBoxDropDown, "", 12, 28, 100, 60, false, "IDC_COMBO"},
            {1012, ControlKind::ComboBoxDropDownList, "", 12, 44, 100, 60, false, "IDC_LIST"},
            {1013, ControlKind::Static, "Sold\xE9", 12, 60, 40, 8, false, "IDC_COUNT", kCentered},
            {1014, ControlKind::CheckBox, "Multiplayer Only", 12, 70, 51, 20, false, "IDC_CHECK",
             kMultiLine},
            {1015, ControlKind::Edit, "", 12, 92, 100, 12, false, "IDC_EDIT"},
            {1016, ControlKind::Edit, "", 140, 50, 50, 40, false, "IDC_NOTES", kMultiLine},
            {1017, ControlKind::Trackbar, "", 140, 92, 50, 12, false, "IDC_SLIDER"},
            {1018, ControlKind::TabControl, "", 140, 104, 50, 12, false, "IDC_TAB"},
            {1019, ControlKind::ListView, "", 0, 108, 60, 12, false, "IDC_VIEW"},
        }};
    return sample;
}

TEST(DialogBuilderTest, CreatesEachKindWithItsIdNameAndText) {
    QDialog dialog;
    DialogBuilder* builder = DialogBuilder::Build(&dialog, SampleTemplate());

    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Caf\xC3\xA9 options"));
    auto* save = dialog.findChild<QPushButton*>("IDOK");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save, builder->Control(1));
    EXPECT_EQ(save->text(), "&Save");
    EXPECT_TRUE(save->isDefault());
    auto* exit = builder->Control<QPushButton>(2);
    ASSERT_NE(exit, nullptr);
    EXPECT_FALSE(exit->isDefault());
    EXPECT_FALSE(exit->isEnabled());

    auto* group = builder->Control<QGroupBox>(1010);
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->testAttribute(Qt::WA_TransparentForMouseEvents));
    ASSERT_NE(builder->Control<QComboBox>(1011), nullptr);
    EXPECT_TRUE(builder->Control<QComboBox>(1011)->isEditable());
    ASSERT_NE(builder->Control<QComboBox>(1012), nullptr);
    EXPECT_FALSE(builder->Control<QComboBox>(1012)->isEditable());
    auto* count = builder->Control<QLabel>(1013);
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->text(), QString::fromUtf8("Sold\xC3\xA9"));
    EXPECT_TRUE(count->alignment() & Qt::AlignHCenter);
    EXPECT_NE(qobject_cast<platform::ui::WrappingCheckBox*>(builder->Control(1014)), nullptr);
    EXPECT_NE(builder->Control<QLineEdit>(1015), nullptr);
    EXPECT_NE(builder->Control<QPlainTextEdit>(1016), nullptr);
    EXPECT_NE(builder->Control<QSlider>(1017), nullptr);
    EXPECT_NE(builder->Control<QTabWidget>(1018), nullptr);
    EXPECT_NE(builder->Control<QTreeWidget>(1019), nullptr);
    EXPECT_EQ(builder->Control(-1), nullptr);
    EXPECT_EQ(builder->Control(4242), nullptr);
}

TEST(DialogBuilderTest, PlacesControlsInDialogUnitsOfTheDialogsFont) {
    QDialog dialog;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    dialog.setFont(font);
    DialogBuilder* builder = DialogBuilder::Build(&dialog, SampleTemplate());
    const DialogUnits units(font);

    EXPECT_EQ(builder->Control(1)->geometry(), units.ToPixels(140, 7, 50, 14));
    EXPECT_EQ(builder->Control(1016)->geometry(), units.ToPixels(140, 50, 50, 40));
    EXPECT_EQ(dialog.size(), units.ToPixels(200, 120));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    // A combo box keeps the template's place and width; its height is its own.
    const QRect combo = builder->Control(1011)->geometry();
    EXPECT_EQ(combo.topLeft(), units.ToPixels(12, 28, 0, 0).topLeft());
    EXPECT_EQ(combo.width(), units.ToPixels(100, 0).width());
    EXPECT_LT(combo.height(), units.ToPixels(0, 60).height());
}

TEST(DialogBuilderTest, FollowsAFontChange) {
    QDialog dialog;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    dialog.setFont(font);
    DialogBuilder* builder = DialogBuilder::Build(&dialog, SampleTemplate());
    const QRect before = builder->Control(1)->geometry();

    font.setPixelSize(22);
    dialog.setFont(font);
    const DialogUnits units(font);
    EXPECT_EQ(builder->Control(1)->geometry(), units.ToPixels(140, 7, 50, 14));
    EXPECT_GT(builder->Control(1)->width(), before.width() * 3 / 2);
    EXPECT_EQ(dialog.size(), units.ToPixels(200, 120));
}

TEST(DialogBuilderTest, TabKeyFollowsTemplateOrder) {
    QDialog dialog;
    DialogBuilder* builder = DialogBuilder::Build(&dialog, SampleTemplate());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    // 2 is disabled; statics and group boxes take no focus.
    const int order[] = {1, 1011, 1012, 1014, 1015, 1016, 1017, 1018, 1019};
    builder->Control(order[0])->setFocus();
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* expected = builder->Control(order[i]);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == expected || expected->isAncestorOf(focus)) << order[i];
    }
}

TEST(DialogBuilderTest, StaticMnemonicFocusesTheNextControl) {
    QDialog dialog;
    DialogBuilder* builder = DialogBuilder::Build(&dialog, SampleTemplate());
    QLabel* label = nullptr;
    for (QLabel* candidate : dialog.findChildren<QLabel*>()) {
        if (candidate->text() == "&Quick weapon") {
            label = candidate;
        }
    }
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), builder->Control(1011));
}

TEST(DialogBuilderTest, FactoryMakesTheControlsItWants) {
    QDialog dialog;
    QWidget* made = nullptr;
    DialogBuilder* builder = DialogBuilder::Build(
        &dialog, SampleTemplate(),
        [&made](const platform::ui::ControlTemplate& control, QWidget* parent) -> QWidget* {
            if (control.kind != ControlKind::ListView) {
                return nullptr;
            }
            made = new QWidget(parent);
            return made;
        });
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(builder->Control(1019), made);
    EXPECT_EQ(made->objectName(), "IDC_VIEW");
    EXPECT_EQ(made->geometry(), builder->Units().ToPixels(0, 108, 60, 12));
}

TEST(DialogBuilderTest, MnemonicsWorkFromTheKeyboard) {
    QDialog dialog;
    DialogBuilder* builder = DialogBuilder::Build(&dialog, SampleTemplate());
    int clicks = 0;
    QObject::connect(builder->Control<QPushButton>(1), &QPushButton::clicked,
                     [&clicks] { ++clicks; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
    // A mnemonic animates the press and clicks when it is released.
    EXPECT_TRUE(QTest::qWaitFor([&clicks] { return clicks == 1; }));
}

TEST(DialogBuilderTest, WrappingCheckBoxTogglesAnywhereOnItsText) {
    QDialog dialog;
    DialogBuilder* builder = DialogBuilder::Build(&dialog, SampleTemplate());
    auto* check = builder->Control<QCheckBox>(1014);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(check->width() - 2, check->height() - 2));
    EXPECT_TRUE(check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(check->isChecked());
}

}  // namespace
