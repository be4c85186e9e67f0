// The small text rules everything else stands on: fields, line kinds, the
// case-insensitive comparison, numbers in cells and rating words.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "loadwise/kitdata/cell_number.h"
#include "loadwise/kitdata/field_parser.h"
#include "loadwise/kitdata/item_line.h"
#include "loadwise/kitdata/rating.h"
#include "loadwise/kitdata/text_compare.h"

namespace kitdata {
namespace {

TEST(FieldParserTest, GetFieldPicksTheNthField) {
    struct Case {
        std::string text;
        int n;
        char delimiter;
        std::string field;
    };
    const Case cases[] = {
        {"a\"b\"c", 0, '"', ""},
        {"a\"b\"c", -1, '"', ""},
        {"a\"b\"c", 1, '"', "a"},
        {"a\"b\"c", 2, '"', "b"},
        {"a\"b\"c", 3, '"', "c"},
        {"a\"b\"c", 4, '"', ""},
        {"no delimiter", 1, '"', "no delimiter"},
        {"no delimiter", 2, '"', ""},
        {"", 1, '"', ""},
        {"", 2, '"', ""},
        {"a\"\"c", 2, '"', ""},
        {"a\"\"c", 3, '"', "c"},
        // Ending with the delimiter: the empty field d + 1 comes back as field d.
        {"a\"b\"", 3, '"', "b"},
        {"a\"b\"", 4, '"', ""},
        {"\"", 1, '"', ""},
        {"\"", 2, '"', ""},
        {"x\"", 2, '"', "x"},
        {"\"mp5.txt\" \"MP5\" \"mp5.atr\"", 2, '"', "mp5.txt"},
        {"\"mp5.txt\" \"MP5\" \"mp5.atr\"", 4, '"', "MP5"},
        {"\"mp5.txt\" \"MP5\" \"mp5.atr\"", 6, '"', "mp5.atr"},
        // ... and ending with the delimiter, field 7 comes back as field 6.
        {"\"mp5.txt\" \"MP5\" \"mp5.atr\"", 7, '"', "mp5.atr"},
        {"\"mp5.txt\" \"MP5\" \"mp5.atr\"", 8, '"', ""},
        // A line ending right after a fifth quote mark: field 6 is field 5.
        {"\"a\" \"b\" ", 6, '"', ""},
        {"\"a\" \"b\" \"", 6, '"', " "},
        {"\"a\" \"b\"", 6, '"', ""},
        {"12 1 // name", 1, ' ', "12"},
        {" 12", 1, ' ', ""},
        {"0.45 // accuracy", 1, '/', "0.45 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CFieldParser::GetField(c.text, c.n, c.delimiter), c.field)
            << "text [" << c.text << "] field " << c.n;
    }
}

TEST(FieldParserTest, GetTrimmedFieldRemovesWhiteSpaceFromBothEnds) {
    EXPECT_EQ(CFieldParser::GetTrimmedField(" \t0.45 \r\v\f// x", 1, '/'), "0.45");
    EXPECT_EQ(CFieldParser::GetTrimmedField("   ", 1, '/'), "");
    EXPECT_EQ(CFieldParser::GetTrimmedField("a / b c /", 2, '/'), "b c");
    EXPECT_EQ(CFieldParser::GetTrimmedField("\n30\n", 1, '/'), "30");
}

TEST(ItemLineTest, KindIsDecidedByTheFirstBytesExactly) {
    struct Case {
        std::string line;
        LineKind kind;
    };
    const Case cases[] = {
        {"\"mp5.txt\"", LineKind::ActiveItem},
        {"\"", LineKind::ActiveItem},
        {"//\"mp5.txt\"", LineKind::SwitchedOff},
        {"//\"", LineKind::SwitchedOff},
        {"// \"mp5.txt\"", LineKind::Other},
        {" \"mp5.txt\"", LineKind::Other},
        {"\t\"mp5.txt\"", LineKind::Other},
        {"/\"mp5.txt\"", LineKind::Other},
        {"///\"mp5.txt\"", LineKind::Other},
        {"// comment", LineKind::Other},
        {"//", LineKind::Other},
        {"", LineKind::Other},
        {"[Section]", LineKind::Other},
        {"\xE9\"", LineKind::Other},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyLine(c.line), c.kind) << "line [" << c.line << "]";
    }
}

TEST(ItemLineTest, KeyIsTheFirstQuotedStringInEitherForm) {
    EXPECT_EQ(ItemKey("\"mp5.txt\" \"x\" \"mp5.atr\""), "mp5.txt");
    EXPECT_EQ(ItemKey("//\"mp5.txt\" \"x\" \"mp5.atr\""), "mp5.txt");
    EXPECT_EQ(ItemKey("\"unterminated"), "unterminated");
    EXPECT_EQ(ItemKey("\"\""), "");
}

TEST(TextCompareTest, ComparesBytesWithLettersFolded) {
    struct Case {
        std::string left;
        std::string right;
        int result;
    };
    const Case cases[] = {
        {"", "", 0},
        {"abc", "ABC", 0},
        {"MP5.TXT", "mp5.txt", 0},
        {"a", "b", -1},
        {"B", "a", 1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"", "a", -1},
        {"_", "a", -1},       // 0x5F sorts before every letter
        {"_", "A", -1},       // ... upper case ones too, since they fold to lower
        {"[", "a", -1},       // 0x5B: below the folded letters
        {"{", "Z", 1},        // 0x7B: above them
        {"\xE9", "\xC9", 1},  // bytes above 0x7F are not folded
        {"\x80", "z", 1},     // and compare unsigned
        {"1-Amazing", "8-Bad", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareNoCase(c.left, c.right), c.result) << c.left << " vs " << c.right;
        EXPECT_EQ(CompareNoCase(c.right, c.left), -c.result) << c.right << " vs " << c.left;
    }
    EXPECT_TRUE(EqualNoCase("Ex_PrimMags.TXT", "ex_primmags.txt"));
    EXPECT_FALSE(EqualNoCase("mp5.txt", "mp5.txt "));
}

TEST(CellNumberTest, ReadsTheLeadingDecimalNumber) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"0.45", 0.45}, {"  \t12", 12}, {"+3", 3},      {"-2.5", -2.5}, {".5", 0.5},
        {"5.", 5},      {"1e2", 100},   {"1E-1x", 0.1}, {"1e", 1},      {"1e+", 1},
        {"12abc", 12},  {"1,5", 1},  // the decimal point is "." in every locale
        {"None", 0},    {"", 0},        {"-", 0},       {".", 0},       {"+-1", 0},
        {"0x10", 0},    {"inf", 0},     {"nan", 0},     {"1e-400", 0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(CellNumber(c.text), c.value) << "text [" << c.text << "]";
    }
    EXPECT_TRUE(std::isinf(CellNumber("1e400")));
    EXPECT_TRUE(std::isinf(CellNumber(std::string(400, '9'))));
}

TEST(RatingTest, BoundsAreExclusiveAndComparedAsDoubles) {
    struct Case {
        RatedFigure figure;
        std::string text;
        std::string word;
    };
    const Case cases[] = {
        {RatedFigure::Accuracy, "0.1", "1-Amazing"},
        {RatedFigure::Accuracy, "0.11", "2-Outstanding"},
        {RatedFigure::Accuracy, "0.51", "3-Excellent"},
        {RatedFigure::Accuracy, "0.71", "4-Impressive"},
        {RatedFigure::Accuracy, "1.21", "5-Good"},
        {RatedFigure::Accuracy, "1.51", "6-Fair"},
        {RatedFigure::Accuracy, "2.01", "7-Poor"},
        {RatedFigure::Accuracy, "2.51", "8-Bad"},
        {RatedFigure::Accuracy, "9.99", "8-Bad"},
        {RatedFigure::Accuracy, "10", "10"},
        {RatedFigure::Accuracy, "10.0", "10.0"},
        {RatedFigure::Accuracy, "250 rounds", "250 rounds"},
        {RatedFigure::Accuracy, "not a number", "1-Amazing"},
        {RatedFigure::Accuracy, "", "1-Amazing"},
        {RatedFigure::Accuracy, "-3", "1-Amazing"},
        {RatedFigure::Recoil, "1.3", "1-Amazing"},
        {RatedFigure::Recoil, "1.31", "2-Outstanding"},
        {RatedFigure::Recoil, "1.51", "3-Excellent"},
        {RatedFigure::Recoil, "1.71", "4-Impressive"},
        {RatedFigure::Recoil, "2.01", "5-Good"},
        {RatedFigure::Recoil, "2.21", "6-Fair"},
        {RatedFigure::Recoil, "2.31", "7-Poor"},
        {RatedFigure::Recoil, "2.51", "8-Bad"},
        {RatedFigure::Recoil, "12", "12"},
        {RatedFigure::Reticle, "0.8", "1-Amazing"},
        {RatedFigure::Reticle, "0.81", "2-Outstanding"},
        {RatedFigure::Reticle, "1.01", "3-Excellent"},
        {RatedFigure::Reticle, "1.31", "4-Impressive"},
        {RatedFigure::Reticle, "1.61", "5-Good"},
        {RatedFigure::Reticle, "2.01", "6-Fair"},
        {RatedFigure::Reticle, "2.51", "7-Poor"},
        {RatedFigure::Reticle, "3.01", "8-Bad"},
        {RatedFigure::Reticle, "9.999999", "8-Bad"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RateFigure(c.figure, c.text), c.word)
            << "figure " << static_cast<int>(c.figure) << " text [" << c.text << "]";
    }
}

TEST(RatingTest, RecoilIsNoneOnlyForARateOfFireOfExactlyOne) {
    EXPECT_EQ(RateRecoil("5", "1"), "None");
    EXPECT_EQ(RateRecoil("", "1"), "None");
    EXPECT_EQ(RateRecoil("5", "1.0"), "8-Bad");
    EXPECT_EQ(RateRecoil("5", "01"), "8-Bad");
    EXPECT_EQ(RateRecoil("2.1", ""), "5-Good");
    EXPECT_EQ(RateRecoil("1.4", "800"), "2-Outstanding");
}

}  // namespace
}  // namespace kitdata
