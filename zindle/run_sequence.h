// The launcher's run sequence: options, start directory, configuration
// file, launch loop.
#pragma once

#include <string>
#include <vector>

#include "config_reader.h"
#include "launch_step.h"
#include "launcher.h"

namespace zindle {

// Parses the start-up options (argv[1] on) into launcher.settings. "-sample"
// writes "sample.config" and ends the run: its status is returned.
EarlyExit parseOptions(Launcher& launcher,
                       const std::vector<std::string>& args);

// 1 when the Windows major version is above 5, else 0.
bool detectVistaOrLater(Launcher& launcher);

// Fixes startDir from the executable's path (and changes into it when the
// path is absolute).
void fixStartDirectory(Launcher& launcher, const std::string& exePath);

// Forms the configuration path from the executable's name (or -c) and reads
// it. Its code is kConfigUnreadable when the file or its path cannot be
// had.
ConfigRead findAppConfig(Launcher& launcher, const std::string& exePath);

// One launch of the Java process; returns its exit code, or none when no
// process was started.
using LaunchStep = JavaExit (*)(Launcher&);

// The whole run on `launcher`; returns the process exit status. This is
// the one place where the run ends: steps that end it early return their
// status up to here. args[0] is
// the executable's path as the process was started. `launch` is the launch
// step, run again for as long as it returns kRestartCode.
int runSequence(Launcher& launcher, const std::vector<std::string>& args,
                LaunchStep launch = launchJava);

}  // namespace zindle
