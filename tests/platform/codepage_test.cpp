// Windows-1252, the game's code page, to UTF-8 and back, and its case folding.

#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(Codepage, ConvertsBothWaysAndEveryByteSurvivesTheRoundTrip) {
    const std::pair<std::string, std::string> cases[] = {
        {"Caf\xe9", "Café"},
        {"\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8e", "€‚ƒ„…†‡ˆ‰Š‹ŒŽ"},
        {"\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9a\x9b\x9c\x9e\x9f", "‘’“”•–—˜™š›œžŸ"},
        {"\xa0\xa9\xbf\xd7\xdf\xf7\xff", "\u00a0©¿×ß÷ÿ"},
        {"\x81\x8d\x8f\x90\x9d", "\u0081\u008d\u008f\u0090\u009d"},  // unassigned: C1 controls
    };
    for (const auto& [cp1252, utf8] : cases) {
        EXPECT_EQ(platform::Cp1252ToUtf8(cp1252), utf8);
        EXPECT_EQ(platform::Utf8ToCp1252(utf8), cp1252);
    }
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(all)), all);
}

TEST(Codepage, WhatItCannotHoldBecomesAQuestionMarkPerCharacterOrBadByte) {
    const std::pair<std::string, std::string> cases[] = {
        {"日本", "??"},       {"a\u0080b", "a?b"},     {"x😀y", "x?y"},
        {"a\xe2\x82", "a??"}, {"\xc3(", "?("},         {"\xa9", "?"},
        {"\xc0\xaf", "??"},   {"\xed\xa0\x80", "???"}, {"\xf4\x90\x80\x80", "????"},
    };
    for (const auto& [utf8, cp1252] : cases) {
        EXPECT_EQ(platform::Utf8ToCp1252(utf8), cp1252) << testing::PrintToString(utf8);
    }
    EXPECT_EQ(platform::FoldCaseCp1252("PrimaryMP.ITM CAF\xc9 \x8a\x8c\x8e\x9f \xd7\xdf\xf7"),
              "primarymp.itm caf\xe9 \x9a\x9c\x9e\xff \xd7\xdf\xf7");
}

}  // namespace
