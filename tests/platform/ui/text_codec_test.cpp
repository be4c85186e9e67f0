#include <gtest/gtest.h>

#include "platform/ui/text_codec.h"

namespace {

using platform::ui::FromCp1252;
using platform::ui::ToCp1252;

TEST(TextCodecTest, BytesMapToTheirCharacters) {
    struct Case {
        std::string bytes;
        char16_t expected;
    };
    const Case cases[] = {
        {"A", u'A'},         {"\x80", u'\u20AC'}, {"\x8A", u'\u0160'}, {"\x92", u'\u2019'},
        {"\x9F", u'\u0178'}, {"\x81", u'\u0081'}, {"\x9D", u'\u009D'}, {"\xA0", u'\u00A0'},
        {"\xE9", u'\u00E9'}, {"\xFF", u'\u00FF'},
    };
    for (const Case& c : cases) {
        const QString text = FromCp1252(c.bytes);
        ASSERT_EQ(text.size(), 1) << c.bytes;
        EXPECT_EQ(text[0].unicode(), c.expected) << int(static_cast<unsigned char>(c.bytes[0]));
        EXPECT_EQ(ToCp1252(text), c.bytes);
    }
}

TEST(TextCodecTest, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
}

TEST(TextCodecTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(ToCp1252(QString::fromUtf8("Stra\xC3\x9F"
                                         "e \xE2\x86\x92 \xE6\x97\xA5")),
              "Stra\xDF"
              "e ? ?");
}

}  // namespace
