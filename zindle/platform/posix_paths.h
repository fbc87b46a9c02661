// Small path helpers of the POSIX platform: files its process and registry
// layers look for.
#pragma once

#include <string>

namespace zindle::posix {

// True when `path` names a regular file this process may execute.
bool isExecutableFile(const std::string& path);

// The process's current directory, or "" when it cannot be read.
std::string currentDirectory();

// The first executable `name` in the directories of PATH, the way a shell
// finds a program (an empty entry is the current directory); "" when none.
std::string findOnPath(const std::string& name);

}  // namespace zindle::posix
