// The wider Java search: where today's installers register a runtime, and
// which of the runtimes found is used.
#include "java_search.h"

#include "java_discovery.h"
#include "registry_key.h"

namespace zindle {

namespace {

// How a key lists its runtimes: a value of each subkey (<key>\<version>),
// or, in the MSI layout, value "Path" of <key>\<version>\<vm>\MSI.
struct SearchedKey {
  const char* path;
  const char* valueName;  // null: the MSI layout
};

constexpr const char* kMsiLayout = nullptr;

// Within each registry place, in this order.
const SearchedKey kSearchedKeys[] = {
    {"SOFTWARE\\JavaSoft\\JRE", "JavaHome"},
    {"SOFTWARE\\JavaSoft\\JDK", "JavaHome"},
    {"SOFTWARE\\JavaSoft\\Java Runtime Environment", "JavaHome"},
    {"SOFTWARE\\JavaSoft\\Java Development Kit", "JavaHome"},
    {"SOFTWARE\\Eclipse Adoptium\\JDK", kMsiLayout},
    {"SOFTWARE\\Eclipse Adoptium\\JRE", kMsiLayout},
    {"SOFTWARE\\AdoptOpenJDK\\JDK", kMsiLayout},
    {"SOFTWARE\\AdoptOpenJDK\\JRE", kMsiLayout},
    {"SOFTWARE\\Microsoft\\JDK", kMsiLayout},
    {"SOFTWARE\\Azul Systems\\Zulu", "InstallationPath"},
    {"SOFTWARE\\BellSoft\\Liberica", "InstallationPath"},
};

struct SearchedPlace {
  JavaSource source;
  RegistryPlace place;
  const char* name;  // as the debug box shows it
};

// A 64-bit runtime first, from Zindle.exe as from Zindle64.exe: the bridge
// the application loads is a 64-bit library. HKEY_CURRENT_USER's SOFTWARE
// is one for both views.
const SearchedPlace kSearchedPlaces[] = {
    {JavaSource::kMachine64,
     {RegistryRoot::kMachine, RegistryView::k64},
     "HKLM 64-bit"},
    {JavaSource::kUser, {RegistryRoot::kUser, RegistryView::kOwn}, "HKCU"},
    {JavaSource::kMachine32,
     {RegistryRoot::kMachine, RegistryView::k32},
     "HKLM 32-bit"},
};

constexpr const char* kJavaHomeVariable = "JAVA_HOME";
// The debug box that lists the search.
constexpr std::size_t kSearchReportSize = 4096;
// No version number goes past this; longer digit runs are held at it.
constexpr unsigned kMaxVersionNumber = 999999999u;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSeparator(char c) {
  return c == '.' || c == '_' || c == '+' || c == '-';
}

std::string withoutTrailingBackslashes(std::string home) {
  while (home.size() > 1 && (home.back() == '\\' || home.back() == '/'))
    home.pop_back();
  return home;
}

// The names of a key's subkeys, in enumeration order.
std::vector<std::string> subkeyNames(Platform& os, const RegistryKey& key) {
  std::vector<std::string> names;
  unsigned count = 0;
  if (!os.regQuerySubkeyCount(key.get(), &count)) return names;
  for (unsigned index = 0; index < count; ++index) {
    std::string name;
    if (os.regEnumSubkey(key.get(), index, kSubkeyNameSize - 1, &name))
      names.push_back(std::move(name));
  }
  return names;
}

// A string value of the key `path`, or none.
std::optional<std::string> readValue(Platform& os, const RegistryPlace& place,
                                     const std::string& path,
                                     const char* valueName) {
  if (path.size() >= kKeyPathSize) return std::nullopt;
  RegistryKey key(os);
  std::string value;
  if (!key.open(path, place) ||
      !os.regQueryString(key.get(), valueName, kJavaHomeSize, &value) ||
      value.empty())
    return std::nullopt;
  return value;
}

struct Found {
  std::string key;
  std::string versionName;
  std::string home;
};

// The runtimes one key lists.
void readKey(Platform& os, const RegistryPlace& place, const SearchedKey& key,
             std::vector<Found>* found) {
  RegistryKey root(os);
  if (!root.open(key.path, place)) return;
  const std::vector<std::string> names = subkeyNames(os, root);
  root.close();
  for (const std::string& name : names) {
    const std::string path = std::string(key.path) + "\\" + name;
    if (key.valueName != kMsiLayout) {
      if (auto home = readValue(os, place, path, key.valueName))
        found->push_back({path, name, *home});
      continue;
    }
    // The level below the version names the virtual machine: hotspot,
    // openj9, ...
    RegistryKey version(os);
    if (path.size() >= kKeyPathSize || !version.open(path, place)) continue;
    const std::vector<std::string> machines = subkeyNames(os, version);
    version.close();
    for (const std::string& machine : machines) {
      const std::string msi = path + "\\" + machine + "\\MSI";
      if (auto home = readValue(os, place, msi, "Path"))
        found->push_back({msi, name, *home});
    }
  }
}

std::string describe(const JavaCandidate& candidate) {
  const char* where = "JAVA_HOME";
  for (const SearchedPlace& place : kSearchedPlaces)
    if (place.source == candidate.source) where = place.name;
  std::string line = std::string(where);
  if (candidate.source != JavaSource::kJavaHome) line += " " + candidate.key;
  line += ": " + candidate.home + " (";
  line += candidate.version ? "version " + javaVersionText(*candidate.version)
                            : std::string("no version");
  if (!candidate.present) line += ", no program";
  return line + ")\n";
}

}  // namespace

JavaVersionNumbers readJavaVersion(std::string_view text) {
  JavaVersionNumbers numbers;
  std::size_t at = 0;
  while (at < text.size() && !isDigit(text[at])) ++at;
  while (at < text.size() && isDigit(text[at])) {
    unsigned long long number = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
      number = number * 10 + static_cast<unsigned>(text[at] - '0');
      if (number > kMaxVersionNumber) number = kMaxVersionNumber;
    }
    numbers.push_back(static_cast<unsigned>(number));
    // A separator goes on only when a number follows it.
    if (at + 1 < text.size() && isSeparator(text[at]) && isDigit(text[at + 1]))
      ++at;
    else
      break;
  }
  // "1.8" is Java 8; a lone "1" stays 1.
  if (numbers.size() > 1 && numbers[0] == 1) numbers.erase(numbers.begin());
  return numbers;
}

int compareJavaVersions(const JavaVersionNumbers& a,
                        const JavaVersionNumbers& b) {
  for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
    unsigned x = i < a.size() ? a[i] : 0;
    unsigned y = i < b.size() ? b[i] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

std::string javaVersionText(const JavaVersionNumbers& version) {
  std::string text;
  for (unsigned number : version)
    text += (text.empty() ? "" : ".") + std::to_string(number);
  return text;
}

std::vector<JavaCandidate> gatherJavaCandidates(Launcher& launcher) {
  Platform& os = launcher.os;
  std::vector<JavaCandidate> candidates;
  auto add = [&](JavaSource source, std::string key, std::string home,
                 std::optional<JavaVersionNumbers> version) {
    JavaCandidate candidate;
    candidate.source = source;
    candidate.key = std::move(key);
    candidate.home = withoutTrailingBackslashes(std::move(home));
    candidate.version = std::move(version);
    // Keys outlive uninstalled runtimes: only a home that holds the
    // program counts.
    candidate.present = os.programExists(
        unquotedJavaExePath(launcher.settings, candidate.home));
    candidates.push_back(std::move(candidate));
  };
  for (const SearchedPlace& place : kSearchedPlaces) {
    for (const SearchedKey& key : kSearchedKeys) {
      std::vector<Found> found;
      readKey(os, place.place, key, &found);
      for (Found& f : found)
        add(place.source, std::move(f.key), std::move(f.home),
            readJavaVersion(f.versionName));
    }
  }
  std::string home;
  if (os.lookupStartupEnv(kJavaHomeVariable, &home) && !home.empty()) {
    home = withoutTrailingBackslashes(home);
    std::string release;
    std::string error;
    std::optional<JavaVersionNumbers> version;
    if (os.readFile(home + "\\release", &release, &error))
      if (auto text = releaseJavaVersion(release))
        if (JavaVersionNumbers numbers = readJavaVersion(*text);
            !numbers.empty())
          version = numbers;
    add(JavaSource::kJavaHome, kJavaHomeVariable, home, version);
  }
  return candidates;
}

std::optional<std::size_t> chooseJava(
    const std::vector<JavaCandidate>& candidates,
    const JavaVersionNumbers* minimum) {
  auto eligible = [&](const JavaCandidate& c) {
    if (!c.present) return false;
    if (minimum == nullptr) return true;
    return c.version && compareJavaVersions(*c.version, *minimum) >= 0;
  };
  bool sixtyFourBit = false;
  for (const JavaCandidate& c : candidates)
    if (eligible(c) &&
        (c.source == JavaSource::kMachine64 || c.source == JavaSource::kUser))
      sixtyFourBit = true;
  std::optional<std::size_t> best;
  std::optional<std::size_t> unversioned;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const JavaCandidate& c = candidates[i];
    if (!eligible(c)) continue;
    if (sixtyFourBit && c.source == JavaSource::kMachine32) continue;
    if (!c.version) {
      if (!unversioned) unversioned = i;
      continue;
    }
    if (!best ||
        compareJavaVersions(*c.version, *candidates[*best].version) > 0)
      best = i;
  }
  return best ? best : unversioned;
}

std::optional<std::string> searchJavaHome(Launcher& launcher,
                                          const JavaVersionNumbers* minimum) {
  const std::vector<JavaCandidate> candidates = gatherJavaCandidates(launcher);
  const std::optional<std::size_t> chosen = chooseJava(candidates, minimum);
  if (launcher.settings.debug) {
    std::string report;
    for (const JavaCandidate& candidate : candidates)
      report += describe(candidate);
    if (candidates.empty()) report = "No runtime registered\n";
    if (minimum != nullptr)
      report += "At least version " + javaVersionText(*minimum) + "\n";
    report += "Chosen: ";
    report += chosen ? candidates[*chosen].home : std::string("none");
    showBox(launcher, fitBuffer(report, kSearchReportSize), "Java Search",
            kMbOk);
  }
  if (!chosen) return std::nullopt;
  return candidates[*chosen].home;
}

}  // namespace zindle
