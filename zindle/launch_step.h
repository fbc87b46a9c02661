// Composing, starting and supervising the Java process.
#pragma once

#include <string>

#include "config_reader.h"

namespace zindle {

// The Java command line for the current settings (shows the debug boxes of
// composition in debug mode).
std::string composeCommandLine(Launcher& launcher);

// One launch: returns the Java process's exit code, or 2 when no Java
// runtime could be found.
int launchJava(Launcher& launcher);

}  // namespace zindle
