// Faults that fuzzing found in the platform core, kept so that they stay mended.

#include <gtest/gtest.h>

#include <string>

#include "platform/registry_file.h"
#include "platform/registry_writer.h"

namespace {

using platform::registry_file::RegistryText;

// A binary value whose last line ends with a backslash goes on in the next
// line. A new value written right after it became that continuation: the
// binary value was lost and the new one never read.
TEST(FuzzFoundFaults, ANewValueAfterAContinuedBinaryValueLosesNeither) {
    struct Case {
        const char* what;
        std::string before;
        std::string after;
    };
    const std::string head = "WINE REGISTRY Version 2\n[A] 1\n\"B\"=hex:01,\\";
    const Case cases[] = {
        {"continued onto a blank line", head + "\n\n", head + "\n\n\"N\"=\"v\"\n"},
        {"continued past the end of the file", head, head + "\n\n\"N\"=\"v\"\n"},
        {"continued onto the next key", head + "\n[C] 2\n\"D\"=\"d\"\n",
         head + "\n\n\"N\"=\"v\"\n[C] 2\n\"D\"=\"d\"\n"},
    };
    for (const Case& c : cases) {
        const auto written =
            platform::registry_writer::WithStringValue(RegistryText(c.before), u"A", u"N", u"v");
        ASSERT_TRUE(written) << c.what;
        EXPECT_EQ(*written, c.after) << c.what;
        const RegistryText after(*written);
        const auto values = after.ReadValues(after.keys()[0]);
        ASSERT_EQ(values.size(), 2u) << c.what;
        EXPECT_EQ(values[0].name, u"B") << c.what;
        EXPECT_EQ(values[0].data, "\x01") << c.what;
        EXPECT_EQ(values[1].name, u"N") << c.what;
    }
}

}  // namespace
