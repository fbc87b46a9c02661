// LaunchSettings, the launcher's one settings record, and the reader of the
// application configuration file that fills it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform.h"

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
// Nominal capacities of the three lists. Every entry is kept: the lists grow
// past these counts rather than drop what the configuration asked for.
constexpr std::size_t kVmParamCapacity = 100;
constexpr std::size_t kProgramArgCapacity = 100;
constexpr std::size_t kClassPathCapacity = 200;

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
};

// The launcher's whole state: the settings record and the system it runs on.
struct Launcher {
  explicit Launcher(Platform& p) : os(p) {}
  Platform& os;
  LaunchSettings settings;
  int includeDepth = 0;  // nesting of readConfigFile, kMaxIncludeDepth
  int filesRead = 0;     // files read so far, bounded by kMaxFilesRead
};

// `text` as it fits a C buffer of `bufferSize` bytes: cut to bufferSize - 1.
std::string fitBuffer(const std::string& text, std::size_t bufferSize);

// True when `text` begins with `prefix` (case-sensitive).
bool hasPrefix(const std::string& text, const char* prefix);

// The lines of a configuration file as the reader handles them: read as in
// text mode (CR LF as LF, Ctrl-Z as the end), each piece up to and including
// its LF and at most 2047 characters.
std::vector<std::string> splitConfigLines(const std::string& contents);

// Reads one configuration file into launcher.settings. Returns 0 when the
// file was read or does not exist, 1 when it exists but cannot be opened.
int readConfigFile(Launcher& launcher, const std::string& path);

// "$" expansion of a configuration value.
std::string expandVariables(Launcher& launcher, const std::string& text,
                            bool quote);

// Replaces each backslash by "/".
void toForwardSlashes(std::string& text);

// Appends `folder` followed by "/*" to the class path.
void addJarFolder(Launcher& launcher, const std::string& folder);

}  // namespace zindle
