// The reader of the application configuration file: lines, directives,
// includes, "setenv" and "$" expansion, into the launcher's settings.
#pragma once

#include <string>

#include "config_text.h"
#include "launcher.h"

namespace zindle {

// Whether a configuration file was read. A file that is absent counts as
// read: the launcher runs without one.
enum ConfigCode : int {
  kConfigRead = 0,        // read, or absent
  kConfigUnreadable = 1,  // exists but cannot be opened
};

// What reading one configuration file gave.
struct ConfigRead {
  ConfigCode code = kConfigRead;
  EarlyExit earlyExit;  // set when a "javaVersion" line ends the run (5, 11)
  bool found = false;   // the file exists
};

// Reads one configuration file into launcher.settings. Reading stops at a
// "javaVersion" line that ends the run.
ConfigRead readConfigFile(Launcher& launcher, const std::string& path);

// "$" expansion of a configuration value.
std::string expandVariables(Launcher& launcher, const std::string& text,
                            bool quote);

// Appends `folder` followed by "/*" to the class path.
void addJarFolder(Launcher& launcher, const std::string& folder);

}  // namespace zindle
