// Java runtime discovery: the registry's current runtime, the runtime of a
// required version, and the download prompt when none fits.
#include "java_discovery.h"

#include <cctype>
#include <climits>

namespace zindle {

namespace {

// Buffer sizes of discovery, in bytes including the terminating zero. Texts
// that would not fit are refused or cut, never overrun (see each user).
constexpr std::size_t kScannedVersionSize = 20;   // required version, scanned
constexpr std::size_t kSubkeyNameSize = 256;      // 255 passed to the registry
constexpr std::size_t kCurrentVersionSize = 255;  // "CurrentVersion" value
constexpr std::size_t kKeyPathSize = 255;         // "%s\%s" key path
constexpr std::size_t kJavaHomeSize = 2048;  // "JavaHome" and the Java path
constexpr std::size_t kDownloadPromptSize = 255;
constexpr std::size_t kNoHomeTextSize = 2048;

// The download pages offered when the required runtime is missing.
constexpr const char* kJavaDownloadPage = "https://www.java.com/download/";
constexpr const char* kJava142DownloadPage =
    "https://www.oracle.com/java/technologies/java-archive-javase-v142-"
    "downloads.html";

// An open registry key, closed when the guard goes out of scope.
class KeyGuard {
 public:
  explicit KeyGuard(Platform& os) : os_(os) {}
  ~KeyGuard() { close(); }
  KeyGuard(const KeyGuard&) = delete;
  KeyGuard& operator=(const KeyGuard&) = delete;

  bool open(const std::string& path) { return os_.regOpenKey(path, &key_); }
  RegKey get() const { return key_; }
  void close() {
    if (key_ != 0) os_.regCloseKey(key_);
    key_ = 0;
  }

 private:
  Platform& os_;
  RegKey key_ = 0;
};

// "%s\%s" of the root key and a subkey name, or none when the path would
// not fit the 255-byte key path buffer.
std::optional<std::string> subkeyPath(const std::string& name) {
  std::string path = std::string(kJavaRootKey) + "\\" + name;
  if (path.size() >= kKeyPathSize) return std::nullopt;
  return path;
}

// atoi: optional white space, optional sign, leading digits; 0 without
// digits. Values beyond int are held at its limits instead of overflowing.
int readLevel(const std::string& text, std::size_t pos) {
  std::size_t i = pos;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
       ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;
    }
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string downloadPrompt(const LaunchSettings& settings) {
  std::string name = settings.appName && !settings.appName->empty()
                         ? *settings.appName
                         : settings.mainClass.value_or(std::string());
  return fitBuffer(name + " requires the Java Runtime Environment version " +
                       settings.javaVersion.value_or(std::string()) +
                       "\nDo you want to download it?",
                   kDownloadPromptSize);
}

}  // namespace

JavaVersionParts splitJavaVersion(const std::string& version) {
  JavaVersionParts parts;
  std::size_t underscore = version.find('_');
  if (underscore == std::string::npos) {
    parts.base = version;
    return parts;
  }
  parts.base = version.substr(0, underscore);
  parts.hasUnderscore = true;
  parts.patchLevel = readLevel(version, underscore + 1);
  return parts;
}

std::optional<std::string> makeJavaExePath(Launcher& launcher,
                                           const std::string& home) {
  const LaunchSettings& settings = launcher.settings;
  bool quoted = home.find(' ') != std::string::npos || settings.isVistaOrLater;
  if (quoted) debugBox(launcher, home, "Adding double quotes around", kMbOk);
  std::string path = quoted ? "\"" : "";
  path += home;
  path += "\\bin";
  path += settings.debug ? "\\java.exe" : "\\javaw.exe";
  if (quoted) path += "\"";
  // The path shares the home directory's buffer: no room, no path.
  if (path.size() >= kJavaHomeSize) return std::nullopt;
  return path;
}

std::optional<std::string> findCurrentJava(Launcher& launcher) {
  Platform& os = launcher.os;
  const unsigned icon = kMbIconError;

  KeyGuard root(os);
  if (!root.open(kJavaRootKey)) {
    debugBox(launcher, kJavaRootKey, "Error Accessing Registry!", icon);
    os.messageBox("No Java Installation Found", "Error!", icon);
    return std::nullopt;
  }
  std::string current;
  if (!os.regQueryString(root.get(), "CurrentVersion", kCurrentVersionSize,
                         &current)) {
    debugBox(launcher, "Java Current Version Key", "Error Reading Registry",
             icon);
    os.messageBox("No Java Installation Found", "Error!", icon);
    return std::nullopt;
  }
  std::optional<std::string> path = subkeyPath(current);
  KeyGuard version(os);
  if (!path || !version.open(*path)) {
    debugBox(launcher, "Java Current Version", "Error Accessing Registry!",
             icon);
    os.messageBox("No Java Installation (No Current Version) Found", "Error!",
                  icon);
    return std::nullopt;
  }
  std::string home;
  std::optional<std::string> javaPath;
  if (os.regQueryString(version.get(), "JavaHome", kJavaHomeSize, &home))
    javaPath = makeJavaExePath(launcher, home);
  if (!javaPath) {
    debugBox(launcher, "Java Home Directory", "Error Reading Registry!", icon);
    os.messageBox("No Java Installation Home Directory Found", "Error!", icon);
    return std::nullopt;
  }
  return javaPath;
}

JavaSearch findJavaForVersion(Launcher& launcher) {
  LaunchSettings& settings = launcher.settings;
  Platform& os = launcher.os;
  const unsigned icon = kMbIconError;
  if (!settings.javaVersion || settings.javaVersion->empty()) return {};

  if (settings.javaVersion->find('_') == std::string::npos ||
      settings.javaVersion->find('+') != std::string::npos) {
    if (EarlyExit end = selectInstalledVersion(launcher))
      return {std::nullopt, end};
  }

  std::optional<std::string> path = subkeyPath(*settings.javaVersion);
  debugBox(launcher,
           fitBuffer(std::string(kJavaRootKey) + "\\" + *settings.javaVersion,
                     kKeyPathSize),
           "JavaInstallRegPath", kMbOk);
  KeyGuard key(os);
  if (!path || !key.open(*path)) {
    debugBox(launcher, "Java Current Version", "Error Accessing Registry!",
             icon);
    if (!settings.quiet && os.messageBox(downloadPrompt(settings),
                                         "Java Runtime Environment Not Found",
                                         kMbYesNo | icon) == kIdYes)
      openJavaDownloadPage(launcher);
    return {};
  }
  std::string home;
  std::optional<std::string> javaPath;
  if (os.regQueryString(key.get(), "JavaHome", kJavaHomeSize, &home)) {
    key.close();
    javaPath = makeJavaExePath(launcher, home);
  }
  if (!javaPath) {
    debugBox(launcher, "Java Home Directory", "Error Reading Registry!", icon);
    if (!settings.quiet)
      os.messageBox(fitBuffer("No Java Home Directory Found for " + *path + " ",
                              kNoHomeTextSize),
                    "Error!", icon);
    return {};
  }
  return {javaPath, std::nullopt};
}

EarlyExit selectInstalledVersion(Launcher& launcher) {
  LaunchSettings& settings = launcher.settings;
  Platform& os = launcher.os;
  if (!settings.javaVersion || settings.javaVersion->empty())
    return std::nullopt;
  // The scan works on a 20-byte copy; a longer requirement is not scanned
  // rather than cut into a different one.
  if (settings.javaVersion->size() >= kScannedVersionSize) return std::nullopt;

  KeyGuard root(os);
  if (!root.open(kJavaRootKey)) {
    debugBox(launcher, "Java Current Version", "Error Accessing Registry!",
             kMbIconError);
    return offerJavaDownload(launcher, "Java Runtime Environment Not Found");
  }
  unsigned count = 0;
  if (!os.regQuerySubkeyCount(root.get(), &count)) count = 0;

  const JavaVersionParts required = splitJavaVersion(*settings.javaVersion);
  int bestLevel = required.patchLevel;
  std::string selected;
  os.writeStdout("javaVersion=" + *settings.javaVersion +
                 ", javaVer=" + required.base + "\n");

  for (unsigned index = 0; index < count; ++index) {
    std::string name;
    if (!os.regEnumSubkey(root.get(), index, kSubkeyNameSize - 1, &name))
      continue;
    os.writeStdout("checking (" + std::to_string(index + 1) + ") " + name +
                   "\n");
    if (!hasPrefix(name, required.base)) continue;
    os.writeStdout("found correct java version " + name +
                   ". checking patch level\n");
    const JavaVersionParts installed = splitJavaVersion(name);
    if (!installed.hasUnderscore) {
      os.writeStdout("No patch level found in " + name + "\n");
      continue;
    }
    os.writeStdout("checking patch level " +
                   std::to_string(installed.patchLevel) + " against " +
                   std::to_string(bestLevel) + "\n");
    // >=: among equal levels the one enumerated last wins.
    if (installed.patchLevel >= bestLevel) {
      bestLevel = installed.patchLevel;
      selected = fitBuffer(name, kSubkeyNameSize);
      os.writeStdout("found latest java version " + selected + "\n");
    }
  }
  root.close();

  if (bestLevel <= 0) return std::nullopt;
  if (selected.empty())
    return offerJavaDownload(launcher, "Incompatible JRE Version Found");
  settings.javaVersion = selected;
  return std::nullopt;
}

ExitStatus offerJavaDownload(Launcher& launcher, const std::string& caption) {
  if (!launcher.settings.quiet &&
      launcher.os.messageBox(downloadPrompt(launcher.settings), caption,
                             kMbYesNo | kMbIconError) == kIdYes)
    openJavaDownloadPage(launcher);
  return kExitDownloadOffered;
}

void openJavaDownloadPage(Launcher& launcher) {
  const std::optional<std::string>& version = launcher.settings.javaVersion;
  if (!version || version->empty()) return;
  const char* page = nullptr;
  if (hasPrefix(*version, "1.4.2"))
    page = kJava142DownloadPage;
  else if (hasPrefix(*version, "1.5"))
    page = kJavaDownloadPage;
  if (page != nullptr) launcher.os.openAddress(page);
}

}  // namespace zindle
