#pragma once
// The rows, check states and sort of one check list, without any toolkit.
// The window's item model owns one and shows it; the rules of ticking and
// sorting live here.

#include <string>
#include <vector>

#include "loadwise/kitdata/column_type.h"

namespace kitdata {

constexpr int kMaxColumns = 100;
// Cells come back through a 260-character buffer: at most 259 characters.
constexpr std::size_t kCellTextLimit = 259;
// The width a new column gets, in pixels of the classic dialog font.
constexpr int kDefaultColumnWidth = 100;

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

    // False for an unticked row and outside the list.
    bool GetCheck(int row) const;
    bool SetCheck(int row, bool ticked);
    // False and no change outside the list.
    bool ToggleCheck(int row);

    int GetRowCount() const { return static_cast<int>(rows_.size()); }
    int GetColumnCount() const { return static_cast<int>(columns_.size()); }
    int CheckedRowCount() const;
    // Pixels (a 16-bit value); 0 hides the column. False outside the columns.
    bool SetColumnWidth(int column, int width);
    int ColumnWidth(int column) const;
    std::string Heading(int column) const;
    ColumnType Type(int column) const;

    // Sorts the rows by the column: the same column again flips the
    // direction, another column keeps it. A selection sort that exchanges
    // rows, so it is not stable. False and nothing happens for a column not
    // added.
    bool SortByColumn(int column);
    int SortColumn() const { return m_nSortColumn; }
    int SortDirection() const { return m_nSortDirection; }

  private:
    struct Column {
        std::string heading;
        ColumnType type = ColumnType::Text;
        int width = kDefaultColumnWidth;
    };
    struct Row {
        std::vector<std::string> cells;  // one per column
        bool ticked = false;
    };

    bool HasRow(int row) const { return row >= 0 && row < GetRowCount(); }
    bool HasColumn(int column) const { return column >= 0 && column < GetColumnCount(); }

    int m_nSortDirection = 1;
    int m_nSortColumn = -1;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
};

}  // namespace kitdata
