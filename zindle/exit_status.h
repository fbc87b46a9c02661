// Exit codes: the statuses the launcher ends with, and the one code of the
// Java process that means more than "ended".
#pragma once

namespace zindle {

// The statuses a launcher run ends with when it does not end through the
// launch loop, and the status of that loop's end. Several causes share a
// number; each keeps its own name so that a reader sees why the run ended.
enum ExitStatus : int {
  kExitSuccess = 0,           // the launch loop ended, or the sample written
  kExitSampleNotWritten = 1,  // "-sample" could not create its file
  kExitConfigUnreadable = 2,  // the configuration exists but cannot be read
  kExitJavaNotStarted = 2,    // no Java runtime found, or it did not start
  kExitNoJavaForVersion = 5,  // "javaVersion" or "javaMinVersion" found none
  kExitDownloadOffered = 11,  // the download of a runtime was offered
};

// The exit code with which the Java application asks to be started again.
// It is the child's code, not one of the launcher's statuses.
constexpr int kRestartCode = 999;

}  // namespace zindle
