// The reader of the application configuration file: lines, directives,
// includes, "setenv" and "$" expansion, into the launcher's settings.
#pragma once

#include <string>
#include <vector>

#include "config_text.h"
#include "launcher.h"

namespace zindle {

// What reading one configuration file gave.
struct ConfigRead {
  int code = 0;         // 0 read or absent, 1 exists but cannot be opened
  EarlyExit earlyExit;  // set when a "javaVersion" line ends the run (5, 11)
  bool found = false;   // the file exists
};

// Reads one configuration file into launcher.settings. Reading stops at a
// "javaVersion" line that ends the run.
ConfigRead readConfigFile(Launcher& launcher, const std::string& path);

// "$" expansion of a configuration value.
std::string expandVariables(Launcher& launcher, const std::string& text,
                            bool quote);

// Replaces each backslash by "/".
void toForwardSlashes(std::string& text);

// Appends `folder` followed by "/*" to the class path.
void addJarFolder(Launcher& launcher, const std::string& folder);

}  // namespace zindle
