// The "-sample" template configuration.
#pragma once

#include <string>

#include "config_reader.h"

namespace zindle {

// The 43 lines of "sample.config", each ended by "\r\n".
std::string sampleConfigText();

// Writes "sample.config" into the current directory; ends the process with
// status 1, silently, when the file cannot be created.
void writeSampleConfig(Launcher& launcher);

}  // namespace zindle
