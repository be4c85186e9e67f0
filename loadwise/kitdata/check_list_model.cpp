#include "loadwise/kitdata/check_list_model.h"

#include <algorithm>
#include <utility>

#include "loadwise/kitdata/cell_number.h"
#include "loadwise/kitdata/text_compare.h"

namespace kitdata {

void CheckListModel::InitCheckList() {
    m_nSortColumn = -1;
    m_nSortDirection = 1;
    columns_.clear();
    rows_.clear();
}

bool CheckListModel::AddColumn(const std::string& heading, ColumnType type) {
    if (GetColumnCount() >= kMaxColumns) {
        return false;
    }
    columns_.push_back({heading, type, kDefaultColumnWidth});
    for (Row& row : rows_) {
        row.cells.emplace_back();
    }
    return true;
}

int CheckListModel::AddRow(const std::string& text) {
    Row row;
    row.cells.resize(columns_.size());
    if (!row.cells.empty()) {
        row.cells[0] = text;
    }
    rows_.push_back(std::move(row));
    return GetRowCount() - 1;
}

bool CheckListModel::SetCellText(int row, int column, const std::string& text) {
    if (!HasRow(row) || !HasColumn(column)) {
        return false;
    }
    rows_[row].cells[column] = text;
    return true;
}

std::string CheckListModel::GetCellText(int row, int column) const {
    if (!HasRow(row) || !HasColumn(column)) {
        return {};
    }
    return rows_[row].cells[column].substr(0, kCellTextLimit);
}

bool CheckListModel::GetCheck(int row) const {
    return HasRow(row) && rows_[row].ticked;
}

bool CheckListModel::SetCheck(int row, bool ticked) {
    if (!HasRow(row)) {
        return false;
    }
    rows_[row].ticked = ticked;
    return true;
}

bool CheckListModel::ToggleCheck(int row) {
    return SetCheck(row, !GetCheck(row));
}

int CheckListModel::CheckedRowCount() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& row) { return row.ticked; }));
}

bool CheckListModel::SetColumnWidth(int column, int width) {
    if (!HasColumn(column)) {
        return false;
    }
    columns_[column].width = std::clamp(width, 0, 0xFFFF);
    return true;
}

int CheckListModel::ColumnWidth(int column) const {
    return HasColumn(column) ? columns_[column].width : 0;
}

std::string CheckListModel::Heading(int column) const {
    return HasColumn(column) ? columns_[column].heading : std::string();
}

ColumnType CheckListModel::Type(int column) const {
    return HasColumn(column) ? columns_[column].type : ColumnType::Text;
}

bool CheckListModel::SortByColumn(int column) {
    if (!HasColumn(column)) {
        return false;
    }
    const ColumnType type = columns_[column].type;
    if (column == m_nSortColumn) {
        m_nSortDirection = m_nSortDirection == -1 ? 1 : -1;
    }
    m_nSortColumn = column;
    const int direction = m_nSortDirection;

    const int rowCount = GetRowCount();
    for (int i = 0; i < rowCount; ++i) {
        int best = i;
        std::string bestText = GetCellText(i, column);
        double bestValue = CellNumber(bestText);
        for (int j = i + 1; j < rowCount; ++j) {
            std::string text = GetCellText(j, column);
            if (type == ColumnType::Number) {
                const double value = CellNumber(text);
                if ((direction == 1 && bestValue > value) ||
                    (direction == -1 && bestValue < value)) {
                    best = j;
                    bestText = std::move(text);
                    bestValue = value;
                }
            } else if (type == ColumnType::Text) {
                if (CompareNoCase(bestText, text) == direction) {
                    best = j;
                    bestText = std::move(text);
                }
            }
        }
        if (best != i) {
            // Whole rows move, texts and tick, so a long cell is never cut.
            std::swap(rows_[i], rows_[best]);
        }
    }
    return true;
}

}  // namespace kitdata
