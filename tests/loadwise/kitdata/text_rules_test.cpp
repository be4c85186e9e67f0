// The small text rules everything else stands on: fields, line kinds, the
// case-insensitive comparison, numbers in cells and rating words.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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
        std::string field;
    };
    const Case cases[] = {
        {"a\"b\"c", 0, ""},
        {"a\"b\"c", 1, "a"},
        {"a\"b\"c", 3, "c"},
        {"a\"b\"c", 4, ""},
        {"", 1, ""},
        {"a\"\"c", 2, ""},
        {"a\"\"c", 3, "c"},
        // Ending with the delimiter: the empty field d + 1 comes back as field d.
        {"a\"b\"", 3, "b"},
        {"a\"b\"", 4, ""},
        {"\"mp5.txt\" \"MP5\" \"mp5.atr\"", 6, "mp5.atr"},
        {"\"mp5.txt\" \"MP5\" \"mp5.atr\"", 7, "mp5.atr"},
        {"\"a\" \"b\" \"", 6, " "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CFieldParser::GetField(c.text, c.n, '"'), c.field) << c.text << " " << c.n;
    }
    EXPECT_EQ(CFieldParser::GetField(" 12", 1, ' '), "");
    EXPECT_EQ(CFieldParser::GetTrimmedField(" \t0.45 \r\v\f// x", 1, '/'), "0.45");
}

TEST(ItemLineTest, KindAndKeyAreDecidedByTheFirstBytesExactly) {
    const std::pair<std::string, LineKind> cases[] = {
        {"\"mp5.txt\"", LineKind::ActiveItem},    {"\"", LineKind::ActiveItem},
        {"//\"mp5.txt\"", LineKind::SwitchedOff}, {"//\"", LineKind::SwitchedOff},
        {"// \"mp5.txt\"", LineKind::Other},      {" \"mp5.txt\"", LineKind::Other},
        {"///\"mp5.txt\"", LineKind::Other},      {"", LineKind::Other},
    };
    for (const auto& [line, kind] : cases) {
        EXPECT_EQ(ClassifyLine(line), kind) << line;
    }
    EXPECT_EQ(ItemKey("//\"mp5.txt\" \"x\" \"mp5.atr\""), "mp5.txt");
    // A lone quote keeps its key when switched off, so a later Save finds it.
    EXPECT_EQ(ItemKey("//\""), ItemKey("\""));
}

TEST(TextCompareTest, ComparesBytesWithLettersFolded) {
    struct Case {
        std::string left, right;
        int result;
    };
    const Case cases[] = {
        {"MP5.TXT", "mp5.txt", 0},
        {"a", "b", -1},
        {"ab", "abc", -1},
        {"_", "A", -1},
        {"{", "Z", 1},
        {"\xE9", "\xC9", 1},
        {"\x80", "z", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareNoCase(c.left, c.right), c.result) << c.left << " vs " << c.right;
        EXPECT_EQ(CompareNoCase(c.right, c.left), -c.result) << c.right << " vs " << c.left;
    }
}

TEST(CellNumberTest, ReadsTheLeadingDecimalNumber) {
    const std::pair<std::string, double> cases[] = {
        {"0.45", 0.45}, {"  \t12", 12}, {"-2.5", -2.5}, {".5", 0.5},
        {"1E-1x", 0.1}, {"1,5", 1},  // the decimal point is "." in every locale
        {"None", 0},    {"", 0},        {"0x10", 0},    {"nan", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_DOUBLE_EQ(CellNumber(text), value) << text;
    }
}

TEST(RatingTest, EachBoundRatesTheValueJustBelowItAndTheValueOnIt) {
    const char* const words[] = {"1-Amazing", "2-Outstanding", "3-Excellent", "4-Impressive",
                                 "5-Good",    "6-Fair",        "7-Poor",      "8-Bad"};
    using Bounds = std::vector<std::pair<const char*, const char*>>;
    const std::pair<RatedFigure, Bounds> figures[] = {
        {RatedFigure::Accuracy,
         {{"0.1", "0.11"},
          {"0.5", "0.51"},
          {"0.7", "0.71"},
          {"1.2", "1.21"},
          {"1.5", "1.51"},
          {"2", "2.01"},
          {"2.5", "2.51"},
          {"9.99", "10"}}},
        {RatedFigure::Recoil,
         {{"1.3", "1.31"},
          {"1.5", "1.51"},
          {"1.7", "1.71"},
          {"2", "2.01"},
          {"2.2", "2.21"},
          {"2.3", "2.31"},
          {"2.5", "2.51"},
          {"9.99", "10.0"}}},
        {RatedFigure::Reticle,
         {{"0.8", "0.81"},
          {"1", "1.01"},
          {"1.3", "1.31"},
          {"1.6", "1.61"},
          {"2", "2.01"},
          {"2.5", "2.51"},
          {"3", "3.01"},
          {"9.99", "250 rounds"}}},
    };
    for (const auto& [figure, bounds] : figures) {
        for (std::size_t i = 0; i < bounds.size(); ++i) {
            const auto& [below, on] = bounds[i];
            EXPECT_EQ(RateFigure(figure, below), words[i]) << below;
            // At 10 and above the figure's own text is shown.
            EXPECT_EQ(RateFigure(figure, on), i + 1 < bounds.size() ? words[i + 1] : on) << on;
        }
    }
    EXPECT_EQ(RateFigure(RatedFigure::Accuracy, "not a number"), "1-Amazing");
    EXPECT_EQ(RateRecoil("5", "1"), "None");
    EXPECT_EQ(RateRecoil("5", "1.0"), "8-Bad");
}

}  // namespace
}  // namespace kitdata
