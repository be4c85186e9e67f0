#include "varnopts/settings/mouse_sensitivity.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>

#include "support/fake_installation.h"

namespace varnopts {
namespace {

struct ToPositionCase {
    std::string text;
    int position;
};

TEST(MouseSensitivityTest, TextToPosition) {
    const ToPositionCase cases[] = {
        {"0.008727", 8727},
        {"0.0087266", 8726},  // truncated, not rounded
        {"0.000249", 248},    // the product lands just below the whole number
        {"0.0001", 100},
        {"0.000099", 100},
        {"0.025", 25000},
        {"0.025001", 25000},
        {"2147.483647", 25000},
        {"2147.483648", 25000},  // beyond the 32-bit range: the high end
        {"1e300", 25000},
        {"inf", 25000},
        {"-2147.483649", 100},  // beyond the range below: the low end
        {"-1e300", 100},
        {"nan", 100},
        {"0", 100},
        {"-0.01", 100},
        {"", 100},
        {"abc", 100},
        {"  \t0.01", 10000},  // leading white space skipped
        {"+0.01", 10000},
        {"0.012abc", 12000},  // the longest decimal prefix
        {"0.01,5", 10000},    // a comma is no decimal point
        {".015", 15000},
        {"15e-3", 15000},
        {"0x1p-7", 7812},  // hexadecimal, as atof reads it
        {std::string("0.02\0"
                     "9",
                     6),
         20000},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(SensitivityToPosition(test.text), test.position) << '"' << test.text << '"';
    }
}

TEST(MouseSensitivityTest, PositionToText) {
    EXPECT_EQ(PositionToSensitivity(8727), "0.008727");
    EXPECT_EQ(PositionToSensitivity(100), "0.000100");
    EXPECT_EQ(PositionToSensitivity(249), "0.000249");
    EXPECT_EQ(PositionToSensitivity(25000), "0.025000");
    EXPECT_EQ(PositionToSensitivity(kDefaultSensitivityPosition), "0.008727");
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
// settings) must change neither reading nor writing.
class CommaLocaleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::setlocale(LC_NUMERIC, nullptr);
        if (UseCommaLocale()) {
            return;
        }
        // Not installed: compile one into a temporary folder.
        folder_ = std::make_unique<testsupport::TemporaryFolder>();
        const std::string command = "localedef -i de_DE -f UTF-8 '" +
                                    (folder_->path() / "de_DE.UTF-8").string() +
                                    "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            ::setenv("LOCPATH", folder_->path().c_str(), 1);
            if (UseCommaLocale()) {
                return;
            }
        }
        std::setlocale(LC_NUMERIC, previous_.c_str());
        GTEST_SKIP() << "no locale with a decimal comma can be had";
    }
    void TearDown() override {
        std::setlocale(LC_NUMERIC, previous_.c_str());
        ::unsetenv("LOCPATH");
    }

  private:
    static bool UseCommaLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
            if (std::setlocale(LC_NUMERIC, name) != nullptr &&
                std::localeconv()->decimal_point[0] == ',') {
                return true;
            }
        }
        return false;
    }

    std::string previous_;
    std::unique_ptr<testsupport::TemporaryFolder> folder_;
};

TEST_F(CommaLocaleTest, ReadsAndWritesWithAPoint) {
    ASSERT_EQ(std::atof("0,5"), 0.5);  // the locale is in force
    EXPECT_EQ(SensitivityToPosition("0.008727"), 8727);
    EXPECT_EQ(SensitivityToPosition("0,008727"), 100);
    EXPECT_EQ(PositionToSensitivity(8727), "0.008727");
}

}  // namespace
}  // namespace varnopts
