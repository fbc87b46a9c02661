// The "-sample" template configuration.
#pragma once

#include <string>

#include "launcher.h"

namespace zindle {

// The 43 lines of "sample.config", each ended by "\r\n".
std::string sampleConfigText();

// Writes "sample.config" into the current directory. Returns the status the
// run ends with: 0, or 1 (nothing reported) when the file cannot be created.
ExitStatus writeSampleConfig(Launcher& launcher);

}  // namespace zindle
