#include "loadwise/window/check_list_item_model.h"

#include "loadwise/res/check_boxes_bitmap.h"
#include "platform/ui/text_codec.h"

namespace loadwise {

CheckListItemModel::CheckListItemModel(CheckListModel& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {
    for (int index = kNoStateImage; index <= kCheckedImage; ++index) {
        checkIcons_[index] = CheckBoxIcon(index);
    }
}

int CheckListItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.GetRowCount();
}

int CheckListItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.GetColumnCount();
}

QVariant CheckListItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return platform::ui::FromCp1252(list_.GetCellText(index.row(), index.column()));
        case Qt::DecorationRole:
            if (index.column() == 0) {
                return checkIcons_[list_.StateImage(index.row())];
            }
            return {};
        case Qt::AccessibleDescriptionRole:
            if (index.column() == 0) {
                return list_.GetCheck(index.row()) ? QStringLiteral("ticked")
                                                   : QStringLiteral("not ticked");
            }
            return {};
        default:
            return {};
    }
}

QVariant CheckListItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return platform::ui::FromCp1252(list_.Heading(section));
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags CheckListItemModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void CheckListItemModel::InitCheckList() {
    beginResetModel();
    list_.InitCheckList();
    endResetModel();
}

bool CheckListItemModel::AddColumn(const std::string& heading, ColumnType type) {
    if (list_.GetColumnCount() >= kMaxColumns) {
        return false;
    }
    const int column = list_.GetColumnCount();
    beginInsertColumns({}, column, column);
    list_.AddColumn(heading, type);
    endInsertColumns();
    return true;
}

int CheckListItemModel::AddRow(const std::string& text) {
    const int row = list_.GetRowCount();
    beginInsertRows({}, row, row);
    list_.AddRow(text);
    endInsertRows();
    return row;
}

void CheckListItemModel::CellsChanged(int firstRow, int lastRow) {
    if (list_.GetColumnCount() > 0 && firstRow <= lastRow) {
        emit dataChanged(index(firstRow, 0), index(lastRow, list_.GetColumnCount() - 1));
    }
}

}  // namespace loadwise
