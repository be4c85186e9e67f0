// The name table from equipment.txt and the description of a row.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loadwise/kitdata/item_names.h"
#include "sample_kit.h"

namespace kitdata {
namespace {

using kitdatatest::EquipTextFile;
using kitdatatest::JoinLines;
using testsupport::FakeInstallation;

TEST(ItemNamesTest, OnlyLinesBeginningWithAQuoteHoldNames) {
    const std::vector<std::string> lines = {
        "// names", "\"Zero\"", "",     " \"not a name\"", "\t\"nor this\"", "\"One\" extra \"x\"",
        "unquoted", "\"Two",    "\"\"", "\"Four\"\r"};
    const std::vector<std::string> expected = {"Zero", "One", "Two", "", "Four"};
    EXPECT_EQ(ParseItemNames(lines), expected);
}

TEST(ItemNamesTest, LoadsTheTableFromTheEnglishTextFolder) {
    FakeInstallation installation;
    installation.WriteFile(EquipTextFile(installation, "EQUIPMENT.TXT"),
                           JoinLines({"\"A\"", "// x", "\"B\" // y", "\"Caf\xE9\""}, "\n"));
    const auto names = LoadItemNames(installation.prefix(), kitdatatest::SamplePaths(installation));
    ASSERT_TRUE(names.ok()) << names.error().Describe();
    EXPECT_EQ(names.value(), (std::vector<std::string>{"A", "B", "Caf\xE9"}));
}

TEST(ItemNamesTest, MissingTableIsAnErrorNamingTheFile) {
    FakeInstallation installation;
    const auto names = LoadItemNames(installation.prefix(), kitdatatest::SamplePaths(installation));
    ASSERT_FALSE(names.ok());
    EXPECT_NE(names.error().what.find("equipment.txt"), std::string::npos);
}

class DescriptionTest : public ::testing::Test {
  protected:
    std::string Describe(const std::string& itemText) {
        return ReadDescription(installation_.prefix(), paths_, itemText);
    }
    FakeInstallation installation_;
    GamePaths paths_ = kitdatatest::SamplePaths(installation_);
};

TEST_F(DescriptionTest, LinesRunTogetherWithoutSeparators) {
    installation_.WriteFile(EquipTextFile(installation_, "mp5.txt"),
                            "A compact weapon.\r\nFires fast.\nThird\r\n");
    EXPECT_EQ(Describe("mp5.txt"), "A compact weapon.Fires fast.Third");
}

TEST_F(DescriptionTest, EmptyFileGivesAnEmptyText) {
    installation_.WriteFile(EquipTextFile(installation_, "empty.txt"), "");
    EXPECT_EQ(Describe("empty.txt"), "");
}

TEST_F(DescriptionTest, MissingFileOrEmptyNameHasNoDescription) {
    EXPECT_EQ(Describe("missing.txt"), "No description available.");
    EXPECT_EQ(Describe(""), "No description available.");
    installation_.WriteFile(EquipTextFile(installation_, "folder\\inside.txt"), "x");
    EXPECT_EQ(Describe("folder"), "No description available.");
}

}  // namespace
}  // namespace kitdata
