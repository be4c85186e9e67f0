#pragma once
// Shows a CheckListModel to a Qt view: cell texts (Windows-1252), headings,
// and the check image of each row in column 0.

#include <QAbstractTableModel>
#include <QIcon>
#include <array>

#include "loadwise/window/check_list_model.h"

namespace loadwise {

class CheckListItemModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    CheckListItemModel(CheckListModel& list, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Changes of the list's shape go through here, so the views follow.
    void InitCheckList();
    bool AddColumn(const std::string& heading, ColumnType type);
    int AddRow(const std::string& text);
    // Tells the views that texts or checks of these rows changed.
    void CellsChanged(int firstRow, int lastRow);

  private:
    CheckListModel& list_;
    std::array<QIcon, 3> checkIcons_;  // by state image index
};

}  // namespace loadwise
