// The slider position and the registry text of the mouse sensitivity.

#include "varnopts/settings/mouse_sensitivity.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace varnopts {
namespace {

TEST(MouseSensitivityTest, TextToPositionAndBack) {
    // Truncated, not rounded (0.000249 lands just below 249); out of range or
    // no number gives an end; a comma is no decimal point; hexadecimal as atof
    // reads it; the text ends at a zero.
    const std::pair<std::string, int> cases[] = {
        {"0.008727", 8727},   {"0.0087266", 8726},
        {"0.000249", 248},    {"0.000099", 100},
        {"0.025001", 25000},  {"2147.483648", 25000},
        {"inf", 25000},       {"-2147.483649", 100},
        {"nan", 100},         {"", 100},
        {"  \t+0.01", 10000}, {"0.012abc", 12000},
        {"0.01,5", 10000},    {"15e-3", 15000},
        {"0x1p-7", 7812},     {std::string("0.02\0009", 6), 20000}};
    for (const auto& [text, position] : cases) {
        EXPECT_EQ(SensitivityToPosition(text), position) << '"' << text << '"';
    }
    EXPECT_EQ(PositionToSensitivity(100), "0.000100");
    EXPECT_EQ(PositionToSensitivity(25000), "0.025000");
}

// Some positions come back one lower after a save and a read, because the
// product of the saved text falls just below the whole number.
TEST(MouseSensitivityTest, RoundTripLosesOneOnExactly358Positions) {
    int oneLower = 0;
    for (int position = kMinSensitivityPosition; position <= kMaxSensitivityPosition; ++position) {
        const int back = SensitivityToPosition(PositionToSensitivity(position));
        ASSERT_TRUE(back == position || back == position - 1) << position << " -> " << back;
        oneLower += back == position - 1 ? 1 : 0;
    }
    EXPECT_EQ(oneLower, 358);
}

// A locale with a decimal comma (as a Qt program gets from the user's
// settings) changes neither reading nor writing.
TEST(MouseSensitivityTest, ADecimalCommaLocaleChangesNothing) {
    testsupport::TemporaryFolder folder;
    const testsupport::ScopedEnvironment locales("LOCPATH", folder.path().string());
    const std::string compile = "localedef -i de_DE -f UTF-8 '" +
                                (folder.path() / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (std::system(compile.c_str()) != 0 || !std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        GTEST_SKIP() << "no locale with a decimal comma can be made here";
    }
    const double comma = std::atof("0,5");
    const int position = SensitivityToPosition("0.008727");
    const std::string text = PositionToSensitivity(8727);
    std::setlocale(LC_NUMERIC, previous.c_str());
    ASSERT_EQ(comma, 0.5);  // the locale was in force
    EXPECT_EQ(position, 8727);
    EXPECT_EQ(text, "0.008727");
}

}  // namespace
}  // namespace varnopts
