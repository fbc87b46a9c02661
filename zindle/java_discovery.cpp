// Placeholder until Java discovery is built.
#include "java_discovery.h"

namespace zindle {
std::optional<std::string> findJavaForVersion(Launcher&) { return std::nullopt; }
std::optional<std::string> findCurrentJava(Launcher&) { return std::nullopt; }
void selectInstalledVersion(Launcher&) {}
std::string makeJavaExePath(Launcher&, const std::string& home) { return home; }
void offerJavaDownload(Launcher& l, const std::string&) { l.os.exitProcess(11); }
void openJavaDownloadPage(Launcher&) {}
}  // namespace zindle
