#include "loadwise/window/check_list_item_model.h"

#include "platform/ui/text_codec.h"

namespace loadwise {

CheckListItemModel::CheckListItemModel(QObject* parent) : QAbstractTableModel(parent) {}

int CheckListItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.GetRowCount();
}

int CheckListItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.GetColumnCount();
}

QVariant CheckListItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:  // the whole text, also where the cell cuts it
            return platform::ui::FromCp1252(rows_.GetCellText(index.row(), index.column()));
        case Qt::CheckStateRole:
            if (index.column() == 0) {
                return rows_.GetCheck(index.row()) ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        default:
            return {};
    }
}

QVariant CheckListItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return platform::ui::FromCp1252(rows_.Heading(section));
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags CheckListItemModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    // Checkable, so that screen readers hear a check box and its state; the
    // list itself decides what toggles it (CCheckListCtrl).
    const Qt::ItemFlags checkable = index.column() == 0 ? Qt::ItemIsUserCheckable : Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | checkable;
}

void CheckListItemModel::InitCheckList() {
    beginResetModel();
    rows_.InitCheckList();
    endResetModel();
}

bool CheckListItemModel::AddColumn(const std::string& heading, kitdata::ColumnType type) {
    if (rows_.GetColumnCount() >= kitdata::kMaxColumns) {
        return false;
    }
    const int column = rows_.GetColumnCount();
    beginInsertColumns({}, column, column);
    rows_.AddColumn(heading, type);
    endInsertColumns();
    return true;
}

int CheckListItemModel::AddRow(const std::string& text) {
    const int row = rows_.GetRowCount();
    beginInsertRows({}, row, row);
    rows_.AddRow(text);
    endInsertRows();
    return row;
}

bool CheckListItemModel::SetCellText(int row, int column, const std::string& text) {
    if (!rows_.SetCellText(row, column, text)) {
        return false;
    }
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::ToolTipRole});
    return true;
}

bool CheckListItemModel::SetCheck(int row, bool ticked) {
    if (!rows_.SetCheck(row, ticked)) {
        return false;
    }
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
    return true;
}

bool CheckListItemModel::ToggleCheck(int row) {
    return SetCheck(row, !rows_.GetCheck(row));
}

bool CheckListItemModel::SetColumnWidth(int column, int width) {
    if (!rows_.SetColumnWidth(column, width)) {
        return false;
    }
    emit headerDataChanged(Qt::Horizontal, column, column);
    return true;
}

bool CheckListItemModel::SortByColumn(int column) {
    if (!rows_.SortByColumn(column)) {
        return false;
    }
    if (rows_.GetRowCount() > 0) {
        emit dataChanged(index(0, 0), index(rows_.GetRowCount() - 1, rows_.GetColumnCount() - 1));
    }
    emit headerDataChanged(Qt::Horizontal, 0, rows_.GetColumnCount() - 1);
    return true;
}

}  // namespace loadwise
