#include "loadwise/window/check_list_model.h"

#include <algorithm>
#include <utility>

#include "loadwise/kitdata/cell_number.h"
#include "loadwise/kitdata/text_compare.h"

namespace loadwise {

void CheckListModel::InitCheckList() {
    m_nSortColumn = -1;
    m_nSortDirection = 1;
    m_nRows = 0;
    m_nColumns = 0;
    m_columnTypes.fill(ColumnType::Text);
    headings_.clear();
    widths_.clear();
    rows_.clear();
}

bool CheckListModel::AddColumn(const std::string& heading, ColumnType type) {
    if (m_nColumns >= kMaxColumns) {
        return false;
    }
    m_columnTypes[m_nColumns] = type;
    headings_.push_back(heading);
    widths_.push_back(100);
    for (Row& row : rows_) {
        row.cells.emplace_back();
    }
    ++m_nColumns;
    return true;
}

int CheckListModel::AddRow(const std::string& text) {
    Row row;
    row.cells.resize(static_cast<std::size_t>(m_nColumns));
    if (m_nColumns > 0) {
        row.cells[0] = text;
    }
    rows_.push_back(std::move(row));
    return m_nRows++;
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
    return HasRow(row) && rows_[row].stateImage != kUncheckedImage;
}

bool CheckListModel::SetCheck(int row, bool ticked) {
    return SetStateImage(row, ticked ? kCheckedImage : kUncheckedImage);
}

void CheckListModel::ToggleCheck(int row) {
    if (HasRow(row)) {
        SetCheck(row, !GetCheck(row));
    }
}

int CheckListModel::StateImage(int row) const {
    return HasRow(row) ? rows_[row].stateImage : kNoStateImage;
}

bool CheckListModel::SetStateImage(int row, int index) {
    if (!HasRow(row) || index < kNoStateImage || index > kCheckedImage) {
        return false;
    }
    rows_[row].stateImage = index;
    return true;
}

void CheckListModel::SetColumnWidth(int column, int width) {
    if (HasColumn(column)) {
        widths_[column] = std::clamp(width, 0, 0xFFFF);
    }
}

int CheckListModel::ColumnWidth(int column) const {
    return HasColumn(column) ? widths_[column] : 0;
}

std::string CheckListModel::Heading(int column) const {
    return HasColumn(column) ? headings_[column] : std::string();
}

ColumnType CheckListModel::Type(int column) const {
    return HasColumn(column) ? m_columnTypes[column] : ColumnType::Text;
}

void CheckListModel::ExchangeRows(int first, int second) {
    // The whole texts move, so a long cell is never cut by a sort.
    std::swap(rows_[first].cells, rows_[second].cells);
    // The check states move as ticks: a row without an image comes out ticked.
    const bool firstTicked = GetCheck(first);
    SetCheck(first, GetCheck(second));
    SetCheck(second, firstTicked);
}

void CheckListModel::SortByColumn(int column) {
    if (!HasColumn(column)) {
        return;
    }
    const ColumnType type = m_columnTypes[column];
    if (column == m_nSortColumn) {
        m_nSortDirection = m_nSortDirection == -1 ? 1 : -1;
    }
    m_nSortColumn = column;
    const int direction = m_nSortDirection;

    for (int i = 0; i < m_nRows; ++i) {
        int best = i;
        std::string bestText = GetCellText(i, column);
        double bestValue = kitdata::CellNumber(bestText);
        for (int j = i + 1; j < m_nRows; ++j) {
            std::string text = GetCellText(j, column);
            if (type == ColumnType::Number) {
                const double value = kitdata::CellNumber(text);
                if ((direction == 1 && bestValue > value) ||
                    (direction == -1 && bestValue < value)) {
                    best = j;
                    bestText = std::move(text);
                    bestValue = value;
                }
            } else if (type == ColumnType::Text) {
                if (kitdata::CompareNoCase(bestText, text) == direction) {
                    best = j;
                    bestText = std::move(text);
                }
            }
        }
        if (best != i) {
            ExchangeRows(i, best);
        }
    }
}

}  // namespace loadwise
