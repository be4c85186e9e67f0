// Sorting a check list of 2,000 rows by each kind of column, as a click on
// a heading does (the toolkit-free model the list shows). Prints the median
// of the runs per column.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "loadwise/kitdata/check_list_model.h"

namespace {

constexpr int kRows = 2000;
constexpr int kRuns = 11;

kitdata::CheckListModel MakeList() {
    kitdata::CheckListModel list;
    list.InitCheckList();
    list.AddColumn("Name", kitdata::ColumnType::Text);
    list.AddColumn("Mag", kitdata::ColumnType::Number);
    list.AddColumn("Accuracy", kitdata::ColumnType::Text);
    for (int i = 0; i < kRows; ++i) {
        // A spread that is neither sorted nor reversed.
        const int k = (i * 7919) % kRows;
        const int row = list.AddRow("Item " + std::to_string(k));
        list.SetCellText(row, 1, std::to_string((k * 31) % 97) + "." + std::to_string(k % 10));
        list.SetCellText(row, 2, k % 3 == 0 ? "Good" : (k % 3 == 1 ? "Fair" : "Excellent"));
        list.SetCheck(row, k % 2 == 0);
    }
    return list;
}

}  // namespace

int main() {
    std::printf("sort of %d rows, median of %d runs\n", kRows, kRuns);
    const char* names[] = {"text column (Name)", "number column (Mag)", "rating column"};
    for (int column = 0; column < 3; ++column) {
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            kitdata::CheckListModel list = MakeList();
            const auto start = std::chrono::steady_clock::now();
            list.SortByColumn(column);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
        std::sort(times.begin(), times.end());
        std::printf("  %-22s %8.2f ms\n", names[column], times[times.size() / 2]);
    }
    return 0;
}
