// The launcher's version texts.
#pragma once

#include <string>

namespace zindle {

// The bare version shown in the debug boxes (the file VERSION, through the
// build).
extern const char* const kVersion;

// One line: "@(#)<source> Version: 1.2.6 <tag> Compiled: <date> at <time>".
// Written into "sample.config" and into the record file of the launch step.
const std::string& versionRecord();

}  // namespace zindle
