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
constexpr std::size_t kLineBufferSize = 2048;   // one configuration line
constexpr std::size_t kMaxLineChars = kLineBufferSize - 1;
constexpr std::size_t kMaxExpandedChars = 2047;  // result of one expansion
constexpr std::size_t kMaxVariableNameChars = 1023;
constexpr std::size_t kMessageBufferSize = 1024;
constexpr int kMaxIncludeDepth = 32;
// Nominal capacities of the three lists. The lists grow past them; see
// readConfigFile.
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
  int includeDepth = 0;  // nesting of readConfigFile, bounded by kMaxIncludeDepth
};

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
