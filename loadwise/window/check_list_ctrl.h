#pragma once
// A list with a check box left of each row's first cell, sorted by our own
// rules when a heading is clicked. Only a press on the check box toggles it;
// a press anywhere on a row selects it; after either, Clicked tells the
// window (which then sees the new check state).

#include <QTreeView>
#include <string>

#include "loadwise/window/check_list_model.h"

namespace loadwise {

class CheckListItemModel;
class CheckListDelegate;

class CCheckListCtrl : public QTreeView {
    Q_OBJECT
  public:
    explicit CCheckListCtrl(QWidget* parent = nullptr);

    // Empties the list, resets its sort state and takes bitmap 130's check
    // images. Comes before any column or row.
    void InitCheckList();
    bool AddColumn(const std::string& heading, ColumnType type);
    int AddRow(const std::string& text);
    bool SetCellText(int row, int column, const std::string& text);
    std::string GetCellText(int row, int column) const;
    bool GetCheck(int row) const;
    bool SetCheck(int row, bool ticked);
    void ToggleCheck(int row);
    int GetRowCount() const;
    // Widths are pixels of the classic 8-point dialog font and grow with the
    // list's font; 0 hides the column.
    void SetColumnWidth(int column, int width);
    void SortByColumn(int column);

    const CheckListModel& Rows() const { return list_; }
    // Where the row's check box is drawn, in viewport coordinates.
    QRect CheckImageRect(int row) const;

  signals:
    // A left button press on the list was handled; row is -1 below the rows.
    void Clicked(int row);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void OnColumnClick(int column);
    void ApplyColumnWidth(int column);
    unsigned HitTest(const QPoint& point, int& row) const;

    CheckListModel list_;
    CheckListItemModel* items_;
    CheckListDelegate* delegate_;
    int averageCharWidth_ = 0;  // of the list's font; 0 until first needed
};

}  // namespace loadwise
