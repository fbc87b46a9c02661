// The state of one launcher run: its limits, the settings record, the
// launcher object that carries both to every step, and the helpers that all
// steps share.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exit_status.h"
#include "platform.h"
#include "text.h"

namespace zindle {

// Sizes the launcher works with. Texts and lines are byte strings.
constexpr std::size_t kLineBufferSize = 2048;  // one configuration line
constexpr std::size_t kMaxLineChars = kLineBufferSize - 1;
constexpr std::size_t kMaxExpandedChars = 2047;  // result of one expansion
constexpr std::size_t kMaxVariableNameChars = 1023;
constexpr std::size_t kMessageBufferSize = 1024;
constexpr std::size_t kParsePathBufferSize = 3036;  // "Parse Path" box text
// At most this many files are open at once through "include"; a deeper
// include is skipped (with a box in debug mode) and reading goes on.
constexpr int kMaxIncludeDepth = 32;
// At most this many files are read in one run, counting every include. The
// depth bound alone still lets a file that includes itself twice ask for
// 2^32 reads; past this count further includes are skipped the same way.
constexpr int kMaxFilesRead = 256;
// At most this many "$" substitutions in one expansion, so that a value that
// brings back its own "$NAME" ends.
constexpr int kMaxSubstitutions = 64;
// The exit status with which a step ends the run early, or none when the
// run goes on. Steps return it up to the run sequence, the one place that
// ends the run.
using EarlyExit = std::optional<ExitStatus>;

struct LaunchSettings {
  std::string startDir;
  std::optional<std::string> consoleTitle;
  std::optional<std::string> configPath;
  std::optional<std::string> javaPath;
  std::optional<std::string> mainClass;
  std::vector<std::string> vmParams;
  std::vector<std::string> programArgs;
  std::optional<std::string> workingDir;
  std::optional<std::string> appName;
  std::optional<std::string> javaVersion;
  std::optional<std::string> outputFile;
  std::vector<std::string> classPath;
  bool debug = false;
  bool isVistaOrLater = false;
  bool showConsole = false;
  bool quiet = false;
  bool logCommandLine = false;
  std::optional<std::string> logFile;
  // The page a download prompt's Yes opens instead of the built-in choice.
  std::optional<std::string> javaDownloadUrl;

  bool operator==(const LaunchSettings& other) const;
  bool operator!=(const LaunchSettings& other) const {
    return !(*this == other);
  }
};

// The launcher's whole state: the settings record and the system it runs on.
struct Launcher {
  explicit Launcher(Platform& platform) : os(platform) {}
  Platform& os;
  LaunchSettings settings;
  int includeDepth = 0;  // nesting of readConfigFile, kMaxIncludeDepth
  int filesRead = 0;     // files read so far, bounded by kMaxFilesRead
  // The application configuration file looked for, and whether it exists:
  // named when Java ends abnormally and no main class was set.
  std::string appConfigPath;
  bool appConfigFound = false;
};

// A diagnostic box, shown only in debug mode. Its texts are made only
// then: the reader passes here for every value it expands.
void showBox(Launcher& launcher, std::string_view text,
             std::string_view caption, unsigned style);
inline void debugBox(Launcher& launcher, std::string_view text,
                     std::string_view caption, unsigned style = kMbOk) {
  if (launcher.settings.debug) showBox(launcher, text, caption, style);
}

// `text` as it fits a C buffer of `bufferSize` bytes: cut to bufferSize - 1.
std::string fitBuffer(const std::string& text, std::size_t bufferSize);

}  // namespace zindle
