#pragma once
// Keeps a test program's user data away from the real home: what the
// programs keep in the user's data folder (Loadwise's backups) lands in a
// temporary folder instead.

#include <filesystem>

namespace testsupport {

// On the first call, points XDG_DATA_HOME at a new temporary folder for the
// rest of the test program (removed when it ends); gives that folder. Every
// FakeInstallation and TemporaryFolder calls it, so any test that saves into
// a fake installation has it done.
const std::filesystem::path& PrivateDataHome();

}  // namespace testsupport
