#pragma once
// A list with a check box left of each row's first cell, sorted by our own
// rules when a heading is clicked. Only a press on the check box toggles it;
// a press anywhere on a row selects it; after either, Clicked tells the
// window (which then sees the new check state). Space toggles the current
// row as a press on its box does; moving the current row by keyboard tells
// CurrentRowMoved. The Menu key (or a right click) offers the sort by each
// column.

#include <QTreeView>
#include <string>
#include <vector>

#include "loadwise/kitdata/check_hit_rule.h"
#include "loadwise/kitdata/check_list_model.h"

namespace loadwise {

class CheckListItemModel;
class CheckListDelegate;

class CCheckListCtrl : public QTreeView {
    Q_OBJECT
  public:
    explicit CCheckListCtrl(QWidget* parent = nullptr);

    // Empties the list and resets its sort state. Comes before any column
    // or row.
    void InitCheckList();
    bool AddColumn(const std::string& heading, kitdata::ColumnType type);
    int AddRow(const std::string& text);
    bool SetCellText(int row, int column, const std::string& text);
    std::string GetCellText(int row, int column) const;
    bool GetCheck(int row) const;
    bool SetCheck(int row, bool ticked);
    void ToggleCheck(int row);
    int GetRowCount() const;
    // Widths are pixels of the classic 8-point dialog font and grow with the
    // list's font; 0 hides the column. Column 0 takes the width that the
    // others leave.
    void SetColumnWidth(int column, int width);
    // The column is kept at least as wide as each of these texts needs in
    // the list's font (Windows-1252).
    void FitColumnTo(int column, const std::vector<std::string>& texts);
    void SortByColumn(int column);

    const kitdata::CheckListModel& Rows() const;
    // Where the row's check box is drawn, in viewport coordinates.
    QRect CheckImageRect(int row) const;
    // The width a cell needs to show the text uncut, in the list's font.
    int CellWidthFor(const QString& text) const;

  signals:
    // A left button press on the list was handled, or Space toggled the
    // current row; row is -1 below the rows.
    void Clicked(int row);
    // The keyboard made another row the current one.
    void CurrentRowMoved(int row);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void ApplyColumnWidth(int column);
    kitdata::ListHit HitTest(const QPoint& point, int& row) const;

    CheckListItemModel* items_;
    CheckListDelegate* delegate_;
    std::vector<std::vector<QString>> fitTexts_;  // by column
    int averageCharWidth_ = 0;                    // of the list's font; 0 until first needed
};

}  // namespace loadwise
