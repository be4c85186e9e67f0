#pragma once
// The options window on a fake installation, set up (OnInitDialog) and
// shown, with the modification's packages and the game's executable in place.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "support/fake_installation.h"
#include "varnopts/window/varn_options_dlg.h"

namespace varnwindowtest {

// Writes the modification's packages into its folder, only the named ones
// ("FULL GOCODES" for VARN_FULL.EXE and VARN_GOCODES.EXE) when names are given.
inline void WritePackages(testsupport::FakeInstallation& installation, std::string names = "") {
    if (names.empty()) {
        names =
            "FULL FULL_INDEX NO_EW TN_RAINBOW TN_ASSAULT TN_RECON TN_HEAVY TN_TANGO TN_MULTI "
            "MP_DEFAULT MP_TANGO MP_PISTOLS MP_9MM HIGH_SOUND LOW_SOUND GOCODES ORG_GO UNINSTALL";
    }
    std::istringstream in(names);
    for (std::string name; in >> name;) {
        installation.WriteFile("C:\\VARN\\VARN_" + name + ".EXE", "MZ");
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
