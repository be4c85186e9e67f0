#pragma once
// What a child process is given: its environment, and the null-terminated
// pointer arrays that exec and posix_spawn take.

#include <string>
#include <vector>

namespace platform {

// This process's environment with each "NAME=value" of overrides replacing
// the variable of the same name (or added).
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides);

// Where temporary files go: $TMPDIR when it is an absolute path, else /tmp.
std::string TemporaryFilesFolder();

// Pointers to the strings' characters followed by a null pointer. The strings
// must outlive the result.
std::vector<char*> NullTerminatedPointers(std::vector<std::string>& strings);

}  // namespace platform
