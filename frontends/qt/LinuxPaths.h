#pragma once

// Where the Linux program's files are: the settings file, and the files named
// on its command line, which may be relative to the folder it was started in.

#include <string>

namespace tintwright::qt {

// Beside the executable when it can be kept there, else in the user's
// configuration folder, whose folder is made when it is missing.
std::string LinuxSettingsPath(const std::string& executablePath);

// The path made absolute against the current folder; unchanged when it is.
std::string AbsolutePath(const std::string& path);

}  // namespace tintwright::qt
