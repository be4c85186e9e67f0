#pragma once
// Shared pieces of the options window tests: a stand-in for wine that records
// every program start, a game executable of a given length, and a window set
// up on a fake installation.

#include <QDialog>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_installation.h"
#include "varnopts/window/varn_options_dlg.h"

namespace varnwindowtest {

// One start as the stand-in wine saw it.
struct RecordedStart {
    long pid = 0;
    std::string program;     // the first argument: the Windows path of the file
    std::string parameters;  // the other arguments joined by blanks
    std::string folder;      // the working folder (physical path)
    std::string prefix;      // WINEPREFIX
};

// Points WINE (and PATH's xdg-open) at scripts that append each start to a
// log, for the object's lifetime.
class StartRecorder {
  public:
    StartRecorder();
    ~StartRecorder();
    StartRecorder(const StartRecorder&) = delete;
    StartRecorder& operator=(const StartRecorder&) = delete;

    // Waits until count starts have been logged (they are written by the
    // started processes themselves), then returns them in the order they were
    // started. Returns what there is after a generous deadline.
    std::vector<RecordedStart> WaitForStarts(std::size_t count) const;
    // The starts logged so far, after the started processes have had a moment.
    std::vector<RecordedStart> StartsSoFar() const;
    // The files xdg-open was asked to open, once expected many have been
    // (after a moment when none are expected).
    std::vector<std::string> OpenedDocuments(std::size_t expected) const;

  private:
    std::vector<RecordedStart> Read() const;
    testsupport::TemporaryFolder folder_;
    std::string oldWine_;
    bool hadWine_ = false;
    std::string oldPath_;
};

// Installation options with or without Eagle Watch and with game values
// changed (std::nullopt leaves a value out).
testsupport::InstallationOptions Options(
    bool eagleWatch, std::map<std::string, std::optional<std::string>> gameValues = {});
testsupport::InstallationOptions WithoutGameKey();
testsupport::InstallationOptions WithoutModKey();

// Writes InstallationPath + "RainbowSix.exe" with the given length.
void WriteGameExecutable(testsupport::FakeInstallation& installation, std::uintmax_t length);
// A length the version check accepts without a question.
constexpr std::uintmax_t kAcceptedLength = 4814528;

// Writes each of the names into the modification's folder (C:\VARN).
void WritePackages(testsupport::FakeInstallation& installation,
                   const std::vector<std::string>& names);
const std::vector<std::string>& AllPackageNames();

// A window on the installation, set up (OnInitDialog) and shown.
std::unique_ptr<CVarnOptionsDlg> OpenWindow(const testsupport::FakeInstallation& installation);

template <class T>
T* Control(const QWidget& window, const char* objectName) {
    return window.findChild<T*>(QString::fromLatin1(objectName));
}

}  // namespace varnwindowtest
