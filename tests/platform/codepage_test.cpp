#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Codepage, ConvertsBetweenWindows1252AndUtf8) {
    struct Case {
        std::string cp1252;
        std::string utf8;
    };
    const Case cases[] = {
        {"", ""},
        {"Rainbow Six\\data", "Rainbow Six\\data"},
        {"Caf\xe9", "Café"},
        {"\x80 \x8a\x8c\x8e \x99 \x9f", "€ ŠŒŽ ™ Ÿ"},
        {"\x91\x92\x93\x94\x96\x97\x85", "‘’“”–—…"},
        {"\xa0\xa9\xbf\xd7\xdf\xf7\xff", "\u00a0©¿×ß÷ÿ"},
        // the five bytes Windows-1252 leaves unassigned map to the C1 controls
        {"\x81\x8d\x8f\x90\x9d", "\u0081\u008d\u008f\u0090\u009d"},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(platform::Cp1252ToUtf8(each.cp1252), each.utf8) << each.utf8;
        EXPECT_EQ(platform::Utf8ToCp1252(each.utf8), each.cp1252) << each.utf8;
    }
}

TEST(Codepage, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(all)), all);
}

TEST(Codepage, WhatWindows1252CannotHoldBecomesAQuestionMark) {
    struct Case {
        std::string utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"日本", "??"},
        {"a\u0080b", "a?b"},           // U+0080 is not the euro sign's byte
        {"x😀y", "x?y"},                // outside the basic plane
        {"\xc3", "?"},                 // cut short
        {"a\xe2\x82", "a??"},          // cut short in the middle of a sequence
        {"\xc3(", "?("},               // a lead byte without its continuation
        {"\xa9", "?"},                 // a continuation byte alone
        {"\xc0\xaf", "??"},            // overlong '/'
        {"\xe0\x80\xdc", "???"},       // overlong '\'
        {"\xed\xa0\x80", "???"},       // a surrogate
        {"\xf4\x90\x80\x80", "????"},  // past U+10FFFF
        {"\xff", "?"},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(platform::Utf8ToCp1252(each.utf8), each.cp1252)
            << testing::PrintToString(each.utf8);
    }
}

TEST(Codepage, FoldsCaseAsWindowsComparesNames) {
    struct Case {
        std::string text;
        std::string folded;
    };
    const Case cases[] = {
        {"PrimaryMP.ITM", "primarymp.itm"},
        {"CAF\xc9 \xc0\xde", "caf\xe9 \xe0\xfe"},
        {"\x8a\x8c\x8e\x9f", "\x9a\x9c\x9e\xff"},
        {"\xd7\xdf\xf7", "\xd7\xdf\xf7"},  // multiplication sign, sharp s, division sign stay
        {"[]\\_@", "[]\\_@"},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(platform::FoldCaseCp1252(each.text), each.folded) << each.text;
    }
}

}  // namespace
