// The helpers every step of a launcher run shares.
#include "launcher.h"

#include <tuple>

namespace zindle {

namespace {

auto fieldsOf(const LaunchSettings& s) {
  return std::tie(s.startDir, s.consoleTitle, s.configPath, s.javaPath,
                  s.mainClass, s.vmParams, s.programArgs, s.workingDir,
                  s.appName, s.javaVersion, s.outputFile, s.classPath, s.debug,
                  s.isVistaOrLater, s.showConsole, s.quiet, s.logCommandLine,
                  s.logFile, s.javaDownloadUrl);
}

}  // namespace

bool LaunchSettings::operator==(const LaunchSettings& other) const {
  return fieldsOf(*this) == fieldsOf(other);
}

void showBox(Launcher& launcher, std::string_view text,
             std::string_view caption, unsigned style) {
  launcher.os.messageBox(std::string(text), std::string(caption), style);
}

std::string fitBuffer(const std::string& text, std::size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  if (text.size() < bufferSize) return text;
  return text.substr(0, bufferSize - 1);
}

}  // namespace zindle
