// The launcher's version texts.
#pragma once

#include <string>

namespace zindle {

// The bare version shown in the debug boxes: the file VERSION, through the
// source the build makes of version_number.cpp.in.
extern const char* const kVersion;

// One line: "@(#)<source> Version: <version> <tag> Compiled: <date> at <time>".
// Written into "sample.config" and into the record file of the launch step.
const std::string& versionRecord();

}  // namespace zindle
