#pragma once
// Owns the rows of one check list (kitdata::CheckListModel) and shows them
// to a Qt view: cell texts (Windows-1252), headings, and each row's check
// state in column 0, drawn by the style as a check box. Every change goes
// through here and tells the views itself.

#include <QAbstractTableModel>
#include <string>

#include "loadwise/kitdata/check_list_model.h"

namespace loadwise {

class CheckListItemModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit CheckListItemModel(QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const kitdata::CheckListModel& Rows() const { return rows_; }

    void InitCheckList();
    bool AddColumn(const std::string& heading, kitdata::ColumnType type);
    int AddRow(const std::string& text);
    bool SetCellText(int row, int column, const std::string& text);
    bool SetCheck(int row, bool ticked);
    bool ToggleCheck(int row);
    bool SetColumnWidth(int column, int width);
    bool SortByColumn(int column);

  private:
    kitdata::CheckListModel rows_;
};

}  // namespace loadwise
