// Java runtime discovery: the registry's current runtime, the runtime of a
// required version, and the download prompt when none fits.
#include "java_discovery.h"

#include <cctype>
#include <climits>

#include "java_search.h"
#include "registry_key.h"

namespace zindle {

namespace {

// Buffer sizes of discovery, in bytes including the terminating zero, that
// only this file uses (the shared ones are in java_discovery.h). Texts that
// would not fit are refused or cut, never overrun (see each user).
constexpr std::size_t kScannedVersionSize = 20;   // required version, scanned
constexpr std::size_t kCurrentVersionSize = 255;  // "CurrentVersion" value
constexpr std::size_t kDownloadPromptSize = 255;
constexpr std::size_t kNoHomeTextSize = 2048;

// The download pages offered when the required runtime is missing.
constexpr const char* kJavaDownloadPage = "https://www.java.com/download/";
constexpr const char* kJava142DownloadPage =
    "https://www.oracle.com/java/technologies/java-archive-javase-v142-"
    "downloads.html";

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

std::string downloadPrompt(const LaunchSettings& settings,
                           const std::string& version) {
  std::string name = settings.appName && !settings.appName->empty()
                         ? *settings.appName
                         : settings.mainClass.value_or(std::string());
  return fitBuffer(name + " requires the Java Runtime Environment version " +
                       version + "\nDo you want to download it?",
                   kDownloadPromptSize);
}

std::string downloadPrompt(const LaunchSettings& settings) {
  return downloadPrompt(settings, settings.javaVersion.value_or(std::string()));
}

// The current runtime's key named none: the wider search, else the box.
std::optional<std::string> searchFurther(Launcher& launcher,
                                         const char* notFound) {
  if (std::optional<std::string> home = searchJavaHome(launcher, nullptr))
    if (std::optional<std::string> path = makeJavaExePath(launcher, *home))
      return path;
  launcher.os.messageBox(notFound, "Error!", kMbIconError);
  return std::nullopt;
}

// The page for `version`: the configuration's address when it gave one,
// else a page only for 1.4.2 and 1.5.
void openDownloadPage(Launcher& launcher, const std::string& version) {
  const std::optional<std::string>& address = launcher.settings.javaDownloadUrl;
  if (address)
    launcher.os.openAddress(*address);
  else if (hasPrefix(version, "1.4.2"))
    launcher.os.openAddress(kJava142DownloadPage);
  else if (hasPrefix(version, "1.5"))
    launcher.os.openAddress(kJavaDownloadPage);
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

std::string unquotedJavaExePath(const LaunchSettings& settings,
                                const std::string& home) {
  return home + (settings.debug ? "\\bin\\java.exe" : "\\bin\\javaw.exe");
}

std::optional<std::string> makeJavaExePath(Launcher& launcher,
                                           const std::string& home) {
  const LaunchSettings& settings = launcher.settings;
  bool quoted = home.find(' ') != std::string::npos || settings.isVistaOrLater;
  if (quoted) debugBox(launcher, home, "Adding double quotes around", kMbOk);
  std::string path = quoted ? "\"" : "";
  path += unquotedJavaExePath(settings, home);
  if (quoted) path += "\"";
  // The path shares the home directory's buffer: no room, no path.
  if (path.size() >= kJavaHomeSize) return std::nullopt;
  return path;
}

std::optional<std::string> findCurrentJava(Launcher& launcher) {
  Platform& os = launcher.os;
  const unsigned icon = kMbIconError;

  RegistryKey root(os);
  if (!root.open(kJavaRootKey)) {
    debugBox(launcher, kJavaRootKey, "Error Accessing Registry!", icon);
    return searchFurther(launcher, "No Java Installation Found");
  }
  std::string current;
  if (!os.regQueryString(root.get(), "CurrentVersion", kCurrentVersionSize,
                         &current)) {
    debugBox(launcher, "Java Current Version Key", "Error Reading Registry",
             icon);
    root.close();
    return searchFurther(launcher, "No Java Installation Found");
  }
  std::optional<std::string> path = subkeyPath(current);
  RegistryKey version(os);
  if (!path || !version.open(*path)) {
    debugBox(launcher, "Java Current Version", "Error Accessing Registry!",
             icon);
    root.close();
    return searchFurther(launcher,
                         "No Java Installation (No Current Version) Found");
  }
  std::string home;
  std::optional<std::string> javaPath;
  if (os.regQueryString(version.get(), "JavaHome", kJavaHomeSize, &home))
    javaPath = makeJavaExePath(launcher, home);
  if (!javaPath) {
    debugBox(launcher, "Java Home Directory", "Error Reading Registry!", icon);
    version.close();
    root.close();
    return searchFurther(launcher, "No Java Installation Home Directory Found");
  }
  return javaPath;
}

std::optional<std::string> findJavaForMinVersion(Launcher& launcher,
                                                 const std::string& minimum) {
  const JavaVersionNumbers numbers = readJavaVersion(minimum);
  // A minimum without a number names no version a runtime could reach.
  if (!numbers.empty())
    if (std::optional<std::string> home = searchJavaHome(launcher, &numbers))
      if (std::optional<std::string> path = makeJavaExePath(launcher, *home))
        return path;
  if (!launcher.settings.quiet &&
      launcher.os.messageBox(downloadPrompt(launcher.settings, minimum),
                             "Java Runtime Environment Not Found",
                             kMbYesNo | kMbIconError) == kIdYes)
    openDownloadPage(launcher, minimum);
  return std::nullopt;
}

bool isDownloadAddress(const std::string& address) {
  const std::string scheme = asciiLower(address.substr(0, 8));
  if (!hasPrefix(scheme, "http://") && !hasPrefix(scheme, "https://"))
    return false;
  // The system's handler also opens files and programs, and a quote would
  // end the quoted argument: only a plain web address is passed on.
  for (char c : address)
    if (c == '"' || static_cast<unsigned char>(c) <= ' ' || c == 0x7F)
      return false;
  return address.size() <= kMaxAddressChars;
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
  RegistryKey key(os);
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

  RegistryKey root(os);
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
  openDownloadPage(launcher, launcher.settings.javaVersion.value_or(""));
}

}  // namespace zindle
