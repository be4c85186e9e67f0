#pragma once
// The user's own folders: the home folder and the XDG base folders, where
// the programs keep the remembered prefix, Loadwise's backups and the run
// logs.

#include <filesystem>

namespace platform {

// $HOME, else the user's entry in the password database, else "/".
std::filesystem::path HomeFolder();

// $variable when it holds an absolute path (the XDG base directory rules
// ignore any other value), else the home folder's underHome:
// XdgFolder("XDG_CONFIG_HOME", ".config").
std::filesystem::path XdgFolder(const char* variable, const std::filesystem::path& underHome);

}  // namespace platform
