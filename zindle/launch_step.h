// Composing, starting and supervising the Java process.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "launcher.h"

namespace zindle {

// What one launch gave: the Java process's exit code, or none when no Java
// process was started (no runtime found, or the start failed).
using JavaExit = std::optional<int>;

// Windows takes command lines of at most 32,767 characters, terminator
// included.
constexpr std::size_t kMaxCommandLineChars = 32767;

// A Java process that ends sooner than this, without a log file to offer,
// is reported as a failed launch.
constexpr long long kQuickFailureSeconds = 3;

// How long the launcher waits for a started Java to be ready for input
// before it sets the console title, in milliseconds.
constexpr unsigned kInputIdleWaitMs = 5000;

// The Java command line for the current settings (shows the debug boxes of
// composition in debug mode).
//
// Double quotes inside class-path entries are dropped when the joined list
// is quoted, and a program argument already written in quotes is not quoted
// again: a second pair would make java.exe split them into other arguments.
std::string composeCommandLine(Launcher& launcher);

// One launch: returns the Java process's exit code, or none when no Java
// runtime could be found or its process could not be started.
JavaExit launchJava(Launcher& launcher);

}  // namespace zindle
