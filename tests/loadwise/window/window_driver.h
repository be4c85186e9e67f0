#pragma once
// Drives a Loadwise window as a user does: presses on check boxes, row
// texts, headings, tabs and buttons, found by their control ids.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <string>

#include "loadwise/window/check_list_ctrl.h"
#include "loadwise/window/loadwise_dlg.h"

namespace loadwisetest {

struct Window {
    // Creates the window, runs its start-up and shows it.
    explicit Window(const platform::WinePrefix& prefix) : dialog(prefix) {
        dialog.OnInitDialog();
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    template <class T = QAbstractButton>
    T* Find(const char* id) {
        return dialog.findChild<T*>(QString::fromLatin1(id));
    }
    loadwise::CCheckListCtrl& List(int tab) { return *dialog.List(tab); }
    std::string Counter() { return Find<QLabel>("IDC_SELECTED_COUNT")->text().toStdString(); }
    bool SaveEnabled() { return Find("IDOK")->isEnabled(); }

    void Click(const char* id) { QTest::mouseClick(Find(id), Qt::LeftButton, {}, QPoint(4, 4)); }
    void ClickBox(int tab, int row) {
        QTest::mouseClick(List(tab).viewport(), Qt::LeftButton, {},
                          List(tab).CheckImageRect(row).center());
    }
    void ClickText(int tab, int row) {
        const QRect cell = List(tab).visualRect(List(tab).model()->index(row, 0));
        QTest::mouseClick(List(tab).viewport(), Qt::LeftButton, {},
                          QPoint(cell.right() - 4, cell.center().y()));
    }
    void ClickHeading(int tab, int column) {
        QHeaderView* header = List(tab).header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }
    void ClickTab(int tab) {
        QTabBar* bar = Find<QTabWidget>("IDC_KIT_TAB")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    // A column's texts from top to bottom, each with "+" when its row is ticked.
    std::string Column(int tab, int column) {
        std::string texts;
        for (int row = 0; row < List(tab).GetRowCount(); ++row) {
            texts += List(tab).GetCellText(row, column) + (List(tab).GetCheck(row) ? "+ " : " ");
        }
        return texts;
    }

    CLoadwiseDlg dialog;
};

}  // namespace loadwisetest
