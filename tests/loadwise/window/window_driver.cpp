#include "window_driver.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace loadwisetest {

WindowDriver::WindowDriver(const platform::WinePrefix& prefix)
    : dialog_(std::make_unique<CLoadwiseDlg>(prefix)) {
    dialog_->OnInitDialog();
    dialog_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
}

WindowDriver::~WindowDriver() = default;

QPushButton* WindowDriver::button(const char* id) {
    auto* found = dialog_->findChild<QPushButton*>(QString::fromLatin1(id));
    EXPECT_NE(found, nullptr) << id;
    return found;
}

QLabel* WindowDriver::counter() {
    return dialog_->findChild<QLabel*>(QStringLiteral("IDC_SELECTED_COUNT"));
}

QTabWidget* WindowDriver::tabs() {
    return dialog_->findChild<QTabWidget*>(QStringLiteral("IDC_KIT_TAB"));
}

QCheckBox* WindowDriver::multiplayerOnly() {
    return dialog_->findChild<QCheckBox*>(QStringLiteral("IDC_MULTIPLAYER_ONLY"));
}

QPlainTextEdit* WindowDriver::descriptionBox() {
    return dialog_->findChild<QPlainTextEdit*>(QStringLiteral("IDC_DESCRIPTION"));
}

QString WindowDriver::description() {
    return descriptionBox()->toPlainText();
}

void WindowDriver::ClickCheckBox(int tab, int row) {
    loadwise::CCheckListCtrl& view = list(tab);
    const QRect image = view.CheckImageRect(row);
    ASSERT_TRUE(image.isValid()) << "row " << row;
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, image.center());
}

void WindowDriver::ClickRowText(int tab, int row) {
    loadwise::CCheckListCtrl& view = list(tab);
    const QRect cell = view.visualRect(view.model()->index(row, 0));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(cell.right() - 4, cell.center().y()));
}

void WindowDriver::ClickBelowRows(int tab) {
    loadwise::CCheckListCtrl& view = list(tab);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(20, view.viewport()->height() - 3));
}

void WindowDriver::ClickHeading(int tab, int column) {
    QHeaderView* header = list(tab).header();
    const QPoint point(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
}

void WindowDriver::ClickTab(int tab) {
    QTabBar* bar = tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

void WindowDriver::Click(const char* id) {
    QTest::mouseClick(button(id), Qt::LeftButton);
}

void WindowDriver::ClickMultiplayerOnly() {
    QCheckBox* box = multiplayerOnly();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, 4));
}

std::string WindowDriver::Column(int tab, int column) {
    std::string texts;
    for (int row = 0; row < list(tab).GetRowCount(); ++row) {
        texts += (row == 0 ? "" : ",") + list(tab).GetCellText(row, column);
    }
    return texts;
}

int WindowDriver::CheckedRows(int tab) {
    int checked = 0;
    for (int row = 0; row < list(tab).GetRowCount(); ++row) {
        checked += list(tab).GetCheck(row) ? 1 : 0;
    }
    return checked;
}

}  // namespace loadwisetest
