#pragma once
// The rows, check states and sort of one check list, without any toolkit.
// CCheckListCtrl shows it; the rules of ticking and sorting live here.

#include <array>
#include <string>
#include <vector>

#include "loadwise/kitdata/column_type.h"

namespace loadwise {

using kitdata::ColumnType;

constexpr int kMaxColumns = 100;
// Cells come back through a 260-character buffer: at most 259 characters.
constexpr std::size_t kCellTextLimit = 259;

// A row's state image index.
constexpr int kNoStateImage = 0;  // no image: counts as ticked
constexpr int kUncheckedImage = 1;
constexpr int kCheckedImage = 2;

class CheckListModel {
  public:
    // Empties the list and resets the sort state to (no column, ascending).
    void InitCheckList();

    // Appends a column; false when kMaxColumns are already there.
    bool AddColumn(const std::string& heading, ColumnType type);
    // Appends an unticked row with the text of column 0; returns its index.
    int AddRow(const std::string& text);
    // False and no change for a row or column outside those added.
    bool SetCellText(int row, int column, const std::string& text);
    // At most kCellTextLimit characters; "" outside the list.
    std::string GetCellText(int row, int column) const;

    // False exactly when the row shows the empty box (and outside the list).
    bool GetCheck(int row) const;
    bool SetCheck(int row, bool ticked);
    void ToggleCheck(int row);
    int StateImage(int row) const;  // kNoStateImage outside the list
    bool SetStateImage(int row, int index);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nColumns; }
    // Pixels (a 16-bit value); 0 hides the column. Ignored outside the columns.
    void SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    std::string Heading(int column) const;
    ColumnType Type(int column) const;

    // Sorts the rows by the column: the same column again flips the
    // direction, another column keeps it. A selection sort that exchanges
    // rows, so it is not stable. Nothing happens for a column not added.
    void SortByColumn(int column);
    int SortColumn() const { return m_nSortColumn; }
    int SortDirection() const { return m_nSortDirection; }

  private:
    struct Row {
        std::vector<std::string> cells;  // one per column
        int stateImage = kUncheckedImage;
    };

    bool HasRow(int row) const { return row >= 0 && row < m_nRows; }
    bool HasColumn(int column) const { return column >= 0 && column < m_nColumns; }
    void ExchangeRows(int first, int second);

    int m_nColumns = 0;
    int m_nRows = 0;
    int m_nSortDirection = 1;
    int m_nSortColumn = -1;
    std::array<ColumnType, kMaxColumns> m_columnTypes{};
    std::vector<std::string> headings_;
    std::vector<int> widths_;
    std::vector<Row> rows_;
};

}  // namespace loadwise
