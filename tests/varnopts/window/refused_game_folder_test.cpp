// A game folder that would reach the packages altered is refused before
// anything is changed, and the message names it.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "platform/file_search.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

using namespace varnwindowtest;

namespace {

TEST(RefusedGameFolder, NamesTheFolderAndChangesNothing) {
    const std::string folders[] = {"C:\\Games\\Rainbow  Six\\", "C:\\Games\\Rain\"bow\\",
                                   "C:\\Games\\Rain\tbow\\", "C:\\Games\\Rainbow Six\\ "};
    for (const std::string& folder : folders) {
        StartRecorder recorder;
        testsupport::MessageRecorder messages;
        testsupport::FakeInstallation installation(Options(true, {{"InstallationPath", folder}}));
        WritePackages(installation, AllPackageNames());
        const std::filesystem::path file = installation.WriteFile(folder + "a.txt", "x");
        std::filesystem::permissions(file, std::filesystem::perms::owner_read);
        auto window = OpenWindow(installation);

        QTest::mouseClick(Control<QPushButton>(*window, "IDC_INSTALL"), Qt::LeftButton);

        ASSERT_EQ(messages.messages().size(), 1u) << folder;
        EXPECT_NE(messages.messages()[0].text.find("\n" + folder + "\n"), std::string::npos);
        EXPECT_TRUE(platform::IsReadOnly(file)) << folder;
        EXPECT_TRUE(recorder.StartsSoFar().empty()) << folder;
    }
}

}  // namespace
