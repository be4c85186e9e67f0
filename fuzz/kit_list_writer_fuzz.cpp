// Switching the marks of an item file and a kit list with any content and
// any ticks: both keep their line count, and every line stays as it was or
// differs from it only by a leading "//".

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "loadwise/kitdata/item_line.h"
#include "loadwise/kitdata/kit_list_writer.h"

namespace {

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool SameButMark(const std::string& before, const std::string& after) {
    return after == before || after == "//" + before || before == "//" + after;
}

void Check(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    if (before.size() != after.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!SameButMark(before[i], after[i])) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // Ticks first, so that the files' text stays near the end of the input.
    std::vector<kitdata::RowTick> ticks;
    const std::size_t tickCount = input.ConsumeIntegralInRange<std::size_t>(0, 64);
    for (std::size_t i = 0; i < tickCount && input.remaining_bytes() > 0; ++i) {
        const bool checked = input.ConsumeBool();
        ticks.push_back({input.ConsumeRandomLengthString(32), checked});
    }
    const std::string itemText = input.ConsumeRandomLengthString(1 << 16);
    const std::string kitText = input.ConsumeRemainingBytesAsString();

    kitdata::KitFilePair files{Lines(itemText), Lines(kitText)};
    // Keys taken from the files themselves make real matches likely.
    for (const std::string& line : files.itemLines) {
        if (ticks.size() >= 128) {
            break;
        }
        if (kitdata::IsItemLine(line)) {
            ticks.push_back({kitdata::ItemKey(line), (line.size() & 1) != 0});
        }
    }

    const kitdata::KitFilePair switched = kitdata::SwitchItemMarks(files, ticks);
    Check(files.itemLines, switched.itemLines);
    Check(files.kitLines, switched.kitLines);

    // Switching again with the same ticks changes nothing more.
    const kitdata::KitFilePair again = kitdata::SwitchItemMarks(switched, ticks);
    if (again.itemLines != switched.itemLines) {
        std::abort();
    }
    return 0;
}
