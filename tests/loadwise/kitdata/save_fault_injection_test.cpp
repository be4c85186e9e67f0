// Save of the six kit files when anything goes wrong: a step that fails, or
// the program killed at any moment. Each file afterwards holds its complete
// old or its complete new text; a failed step changes none, and only a kill
// may leave a temporary file, which the next save removes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "platform/fault_injecting_operations.h"
#include "sample_kit.h"

#include "support/folder_listing.h"

namespace kitdata {
namespace {

constexpr int kKillRuns = 100;

class SaveFaultInjectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kitdatatest::WriteSampleKit(installation_);
        old_ = Contents();
        filesBefore_ = AllFiles();
        // Every tick flipped, so that every file changes.
        for (int tab = 0; tab < kTabCount; ++tab) {
            for (const ItemRow& row : FillItemList(installation_.prefix(), paths_, {}, tab).rows) {
                ticks_[tab].push_back({row.cells[kTextColumn], !row.checked});
            }
        }
        ASSERT_TRUE(SaveKitLists(installation_.prefix(), paths_, ticks_).ok());
        new_ = Contents();
        WriteOld();
        for (std::size_t i = 0; i < old_.size(); ++i) {
            ASSERT_NE(old_[i], new_[i]) << SixFiles()[i];
        }
    }

    std::vector<std::string> SixFiles() const {
        std::vector<std::string> files;
        for (int tab = 0; tab < kTabCount; ++tab) {
            files.push_back(kitdatatest::EquipmentFile(installation_, ItemFileName(tab)));
        }
        for (int tab = 0; tab < kTabCount; ++tab) {
            files.push_back(kitdatatest::EquipTextFile(installation_, KitListFileName(tab)));
        }
        return files;
    }
    std::vector<std::string> Contents() const {
        std::vector<std::string> contents;
        for (const std::string& file : SixFiles()) {
            contents.push_back(installation_.ReadFile(file));
        }
        return contents;
    }
    void WriteOld() {
        const std::vector<std::string> files = SixFiles();
        for (std::size_t i = 0; i < files.size(); ++i) {
            installation_.WriteFile(files[i], old_[i]);
        }
    }
    // How many of the six hold their new text; -1 when one holds neither
    // its whole old nor its whole new text.
    int NewCount() const {
        const std::vector<std::string> now = Contents();
        int count = 0;
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i] == new_[i]) {
                ++count;
            } else if (now[i] != old_[i]) {
                return -1;
            }
        }
        return count;
    }
    // Every file of the installation, to see that no temporary is left.
    std::set<std::filesystem::path> AllFiles() const {
        return testsupport::PathsUnder(installation_.prefix().folder);
    }
    platform::Status Save(platform::FileOperations& operations = platform::RealFileOperations()) {
        return SaveKitLists(installation_.prefix(), paths_, ticks_, operations);
    }

    testsupport::FakeInstallation installation_;
    GamePaths paths_ = kitdatatest::SamplePaths(installation_);
    TabTicks ticks_;
    std::vector<std::string> old_;
    std::vector<std::string> new_;
    std::set<std::filesystem::path> filesBefore_;
};

TEST_F(SaveFaultInjectionTest, FailingAtAnyStepChangesNoFileBeforeAllAreWritten) {
    int failures = 0;
    for (int failAt = 0;; ++failAt) {
        WriteOld();
        testsupport::FaultInjectingOperations operations(failAt);
        const platform::Status saved = Save(operations);
        const std::string step =
            "step " + std::to_string(failAt) + " (" + operations.failedStep() + ")";
        EXPECT_EQ(AllFiles(), filesBefore_) << step << ": no temporary is left";
        if (!operations.failed()) {
            ASSERT_TRUE(saved.ok()) << saved.error().Describe();
            EXPECT_EQ(NewCount(), 6);
            EXPECT_EQ(failAt, 30);
            break;
        }
        ++failures;
        ASSERT_FALSE(saved.ok()) << step << " failed, yet Save reported success";
        // The message names the file (its Unix path) and the cause.
        const std::string& what = saved.error().what;
        EXPECT_TRUE(what.ends_with(".itm") || what.ends_with(".txt")) << step << ": " << what;
        EXPECT_EQ(saved.error().why, "No space left on device");
        EXPECT_EQ(NewCount(), std::max(0, failAt - 24)) << step;
    }
    std::cout << "[ counts   ] Save: " << failures << " injected failures\n";
}

TEST_F(SaveFaultInjectionTest, KilledAtAnyMomentEachFileIsWholeAndTheNextSaveCleansUp) {
    const auto save = [&] { (void)Save(); };
    const long workTime = testsupport::TimeInChild(save).count();
    std::mt19937 random(20240602);
    std::uniform_int_distribution<long> delay(0, std::max(200L, workTime * 6 / 5));

    int finished = 0, untouched = 0, mixed = 0, leftovers = 0;
    for (int run = 0; run < kKillRuns; ++run) {
        WriteOld();
        const bool done = testsupport::RunAndKill(save, std::chrono::microseconds(delay(random)));
        const int newCount = NewCount();
        ASSERT_GE(newCount, 0) << "run " << run << ": a file is torn";
        if (done) {
            ++finished;
            ASSERT_EQ(newCount, 6);
        } else if (newCount == 0) {
            ++untouched;
        } else if (newCount < 6) {
            ++mixed;
        }
        leftovers += AllFiles() != filesBefore_ ? 1 : 0;
    }
    WriteOld();
    ASSERT_TRUE(Save().ok());
    EXPECT_EQ(NewCount(), 6);
    EXPECT_EQ(AllFiles(), filesBefore_);
    std::cout << "[ counts   ] Save killed " << kKillRuns << " times: " << finished << " finished, "
              << untouched << " all old, " << mixed << " some new, " << leftovers
              << " left temporaries (removed by the next save)\n";
}

}  // namespace
}  // namespace kitdata
