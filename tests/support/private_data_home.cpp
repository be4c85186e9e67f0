#include "support/private_data_home.h"

#include <stdlib.h>

#include <cstdio>
#include <string>
#include <system_error>

namespace testsupport {
namespace {

class DataHome {
  public:
    DataHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "lw-data-home-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            // Without a folder of its own no test may reach the user's data.
            std::perror("cannot create a temporary data folder");
            std::abort();
        }
        path_ = pattern;
        ::setenv("XDG_DATA_HOME", path_.c_str(), 1);
    }
    ~DataHome() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace

const std::filesystem::path& PrivateDataHome() {
    static const DataHome home;
    return home.path();
}

}  // namespace testsupport
