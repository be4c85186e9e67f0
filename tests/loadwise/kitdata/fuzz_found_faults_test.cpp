// Faults that fuzzing found, kept so that they stay mended.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loadwise/kitdata/item_line.h"
#include "loadwise/kitdata/kit_list_writer.h"

namespace kitdata {
namespace {

// A line that is a lone double quote: field 2 of `//"` is the field before
// the quote, so the mark became the key and a second Save could no longer
// find the line to switch it back on.
TEST(FuzzFoundFaults, ALoneQuoteItemLineKeepsItsKeyWhenSwitchedOff) {
    EXPECT_EQ(ItemKey("//\""), ItemKey("\""));
    EXPECT_EQ(ItemKey("//\"a.txt\" \"A\""), "a.txt");

    const KitFilePair files{{"\"header.txt\"", "\""}, {"\""}};
    const KitFilePair off = SwitchItemMarks(files, {{"", false}});
    EXPECT_EQ(off.itemLines, (std::vector<std::string>{"\"header.txt\"", "//\""}));
    const KitFilePair on = SwitchItemMarks(off, {{"", true}});
    EXPECT_EQ(on.itemLines, files.itemLines);
    EXPECT_EQ(on.kitLines, files.kitLines);
}

}  // namespace
}  // namespace kitdata
