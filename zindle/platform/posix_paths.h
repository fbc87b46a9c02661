// Small path and text helpers of the POSIX platform: how its process,
// registry and file layers read names written for Windows.
#pragma once

#include <string>

namespace zindle::posix {

// ASCII letters in lower case; other bytes as they are.
std::string lowerCase(std::string text);

// Each backslash as "/": a configuration written for Windows names its
// files with backslashes, and they read as "/" here.
std::string withSlashes(std::string path);

// True when `path` names a regular file this process may execute.
bool isExecutableFile(const std::string& path);

// The process's current directory, or "" when it cannot be read.
std::string currentDirectory();

// The first executable `name` in the directories of PATH, the way a shell
// finds a program (an empty entry is the current directory); "" when none.
std::string findOnPath(const std::string& name);

}  // namespace zindle::posix
