#include "varnopts/settings/game_value_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/message.h"
#include "platform/registry.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "varnopts/settings/game_paths.h"
#include "varnopts/settings/mouse_sensitivity.h"

namespace varnopts {
namespace {

using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;

std::string ReadBack(const platform::WinePrefix& prefix, std::string_view name) {
    platform::RegistryKey key;
    if (platform::RegOpenKey(prefix, kGameKey, platform::KeyAccess::QueryValue, key) !=
        platform::RegStatus::Success) {
        return "<no key>";
    }
    char buffer[300] = {};
    std::uint32_t size = sizeof buffer;
    const auto status = platform::RegQueryValue(key, name, buffer, size);
    platform::RegCloseKey(key);
    return status == platform::RegStatus::Success ? std::string(buffer) : "<no value>";
}

std::string FileContent(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(GameValueWriterTest, WritesTheSensitivityAndReadsItBack) {
    for (const bool win64 : {true, false}) {
        InstallationOptions options;
        options.win64 = win64;
        FakeInstallation installation(options);
        MessageRecorder recorder;
        EXPECT_EQ(WriteGameValue(installation.prefix(), kMouseRadiansPerPixel,
                                 PositionToSensitivity(12345)),
                  0);
        EXPECT_TRUE(recorder.messages().empty());
        EXPECT_EQ(ReadBack(installation.prefix(), "MouseRadiansPerPixel"), "0.012345");
        // The rest of the game's values are kept.
        GamePaths paths;
        ASSERT_TRUE(ReadGamePaths(installation.prefix(), paths));
        EXPECT_EQ(paths.m_strInstallationPath, "C:\\Games\\Rainbow Six\\");
        EXPECT_EQ(SensitivityToPosition(paths.m_strMouseRadiansPerPixel), 12345);
    }
}

TEST(GameValueWriterTest, TakesAtMost259Characters) {
    FakeInstallation installation;
    MessageRecorder recorder;
    EXPECT_EQ(WriteGameValue(installation.prefix(), "TextPath", std::string(300, 'x')), 0);
    EXPECT_EQ(ReadBack(installation.prefix(), "TextPath"), std::string(259, 'x'));
}

TEST(GameValueWriterTest, MissingGameKeyIsReportedAndNothingWritten) {
    InstallationOptions options;
    options.gameKey = false;
    FakeInstallation installation(options);
    const std::string before = FileContent(installation.systemReg());
    MessageRecorder recorder;
    EXPECT_EQ(WriteGameValue(installation.prefix(), kMouseRadiansPerPixel, "0.008727"), 1);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Error opening R6 main reg key.");
    EXPECT_EQ(recorder.messages()[0].caption, "VARN MOD Options");
    EXPECT_EQ(recorder.messages()[0].style, platform::MB_ICONHAND);
    EXPECT_EQ(FileContent(installation.systemReg()), before);
}

}  // namespace
}  // namespace varnopts
