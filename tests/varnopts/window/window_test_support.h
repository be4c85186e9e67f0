#pragma once
// The options window on a fake installation, set up (OnInitDialog) and
// shown, with the modification's packages and the game's executable in place.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "support/fake_installation.h"
#include "varnopts/window/varn_options_dlg.h"

namespace varnwindowtest {

inline void WritePackages(testsupport::FakeInstallation& installation) {
    for (const char* name :
         {"FULL", "FULL_INDEX", "NO_EW", "TN_RAINBOW", "TN_ASSAULT", "TN_RECON", "TN_HEAVY",
          "TN_TANGO", "TN_MULTI", "MP_DEFAULT", "MP_TANGO", "MP_PISTOLS", "MP_9MM", "HIGH_SOUND",
          "LOW_SOUND", "GOCODES", "ORG_GO", "UNINSTALL"}) {
        installation.WriteFile("C:\\VARN\\VARN_" + std::string(name) + ".EXE", "MZ");
    }
}

// Writes InstallationPath + "RainbowSix.exe" with the given length (1.04 by default).
inline void WriteGameExecutable(testsupport::FakeInstallation& installation,
                                std::uintmax_t length = 4814528) {
    std::filesystem::resize_file(
        installation.WriteFile(installation.GameValue("InstallationPath") + "RainbowSix.exe", ""),
        length);
}

inline std::unique_ptr<CVarnOptionsDlg> OpenWindow(
    const testsupport::FakeInstallation& installation,
    std::chrono::milliseconds pause = std::chrono::milliseconds(0)) {
    auto window = std::make_unique<CVarnOptionsDlg>(installation.prefix());
    window->m_installPause = pause;
    EXPECT_TRUE(window->OnInitDialog());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

template <class T = QAbstractButton>
T* Control(const QWidget& window, const char* objectName) {
    return window.findChild<T*>(QString::fromLatin1(objectName));
}

inline void Click(const QWidget& window, const char* button) {
    QTest::mouseClick(Control(window, button), Qt::LeftButton);
}

}  // namespace varnwindowtest
