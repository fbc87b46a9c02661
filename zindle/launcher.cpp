// The helpers every step of a launcher run shares.
#include "launcher.h"

#include <cstring>
#include <tuple>

namespace zindle {

namespace {

auto fieldsOf(const LaunchSettings& s) {
  return std::tie(s.startDir, s.consoleTitle, s.configPath, s.javaPath,
                  s.mainClass, s.vmParams, s.programArgs, s.workingDir,
                  s.appName, s.javaVersion, s.outputFile, s.classPath, s.debug,
                  s.isVistaOrLater, s.showConsole, s.quiet, s.logCommandLine,
                  s.logFile);
}

}  // namespace

bool LaunchSettings::operator==(const LaunchSettings& other) const {
  return fieldsOf(*this) == fieldsOf(other);
}

void debugBox(Launcher& launcher, const std::string& text,
              const std::string& caption, unsigned style) {
  if (launcher.settings.debug) launcher.os.messageBox(text, caption, style);
}

std::string fitBuffer(const std::string& text, std::size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  if (text.size() < bufferSize) return text;
  return text.substr(0, bufferSize - 1);
}

bool hasPrefix(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace zindle
