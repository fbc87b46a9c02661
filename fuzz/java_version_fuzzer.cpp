// The version split and the installed-version selection over a scripted
// registry: selectInstalledVersion against a model of the selection rule,
// then findJavaForVersion end to end, and the wider search over the same
// keys.
//
// Input: flag byte (1 debug, 2 quiet, 4 Vista or later, 8 the subkey count
// cannot be read, 16 no root key), then sections separated by 0xFF: the
// required version, the installed names (one a line, in enumeration order)
// and their home directories (one a line, by position; a missing line gives
// a runtime without "JavaHome").
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config_reader.h"
#include "fake_platform.h"
#include "fuzz_input.h"
#include "java_discovery.h"
#include "java_search.h"

namespace {

using zindle::fuzz::fail;
using zindle::testing::FakePlatform;

struct Scenario {
  std::string version;
  std::vector<std::string> names;
  std::vector<std::string> homes;
  std::uint8_t flags = 0;
};

void script(FakePlatform& os, const Scenario& s) {
  os.majorVersion = (s.flags & 4) ? 6 : 5;
  os.failSubkeyCount = (s.flags & 8) != 0;
  if (s.flags & 16) return;
  std::string root = zindle::kJavaRootKey;
  os.registry[root].values["CurrentVersion"] =
      s.names.empty() ? "1.6" : s.names.front();
  for (std::size_t i = 0; i < s.names.size(); ++i) {
    os.registry[root].subkeys.push_back(s.names[i]);
    if (i < s.homes.size())
      os.registry[root + "\\" + s.names[i]].values["JavaHome"] = s.homes[i];
  }
}

void configure(zindle::Launcher& launcher, const Scenario& s) {
  launcher.settings.quiet = (s.flags & 2) != 0;
  launcher.settings.debug = (s.flags & 1) && !launcher.settings.quiet;
  launcher.settings.isVistaOrLater = (s.flags & 4) != 0;
  launcher.settings.javaVersion = s.version;
  launcher.settings.appName = "FuzzApp";
}

// The patch level after the first underscore, when the model can read it
// without ambiguity: plain blanks, a sign and at most nine digits.
std::optional<long> patchLevel(const std::string& text) {
  std::size_t underscore = text.find('_');
  if (underscore == std::string::npos) return 0;
  std::size_t i = underscore + 1;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    return std::nullopt;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  long value = 0;
  int digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    if (++digits > 9) return std::nullopt;
    value = value * 10 + (text[i++] - '0');
  }
  return negative ? -value : value;
}

struct Expected {
  bool exits = false;   // ends with status 11
  std::string version;  // javaVersion afterwards
  std::string base;
};

// The selection rule: among names that begin with the base and have an
// underscore, the highest patch level not below the required one wins, the
// later one on a tie; a required level of 0 or less keeps the version.
std::optional<Expected> model(const Scenario& s) {
  if (s.version.size() > 19) return std::nullopt;  // beyond the 20-byte copy
  if (s.version.find('\0') != std::string::npos) return std::nullopt;
  Expected e;
  e.version = s.version;
  std::size_t underscore = s.version.find('_');
  e.base = s.version.substr(0, underscore);
  std::optional<long> required = patchLevel(s.version);
  if (!required) return std::nullopt;
  if (s.flags & 16) {
    e.exits = true;
    return e;
  }
  long best = *required;
  std::optional<std::string> selected;
  if (!(s.flags & 8)) {
    for (const std::string& name : s.names) {
      if (name.size() > 255 || name.find('\0') != std::string::npos)
        return std::nullopt;
      if (name.compare(0, e.base.size(), e.base) != 0) continue;
      if (name.find('_') == std::string::npos) continue;
      std::optional<long> level = patchLevel(name);
      if (!level) return std::nullopt;
      if (*level >= best) {
        best = *level;
        selected = name;
      }
    }
  }
  if (best <= 0) return e;
  if (!selected) {
    e.exits = true;
    return e;
  }
  e.version = *selected;
  return e;
}

// A launcher on a platform scripted for the scenario.
struct ScenarioRun {
  FakePlatform os;
  zindle::Launcher launcher{os};
  explicit ScenarioRun(const Scenario& s) {
    script(os, s);
    configure(launcher, s);
  }
};

void checkSelection(const Scenario& s) {
  ScenarioRun run(s);
  FakePlatform& os = run.os;
  zindle::Launcher& launcher = run.launcher;
  zindle::EarlyExit end = zindle::selectInstalledVersion(launcher);
  if (end && *end != 11) fail("scan ended with", std::to_string(*end));
  bool exited = end.has_value();
  if (s.version.empty()) {
    if (exited || !os.events.empty()) fail("empty version was scanned", os.out);
    return;
  }
  std::optional<Expected> e = model(s);
  if (!e) return;
  if (exited != e->exits)
    fail(exited ? "scan ended the process" : "scan did not end the process",
         "version [" + s.version + "]");
  if (!exited && launcher.settings.javaVersion != e->version)
    fail("selected version differs",
         "version [" + s.version + "] got [" +
             launcher.settings.javaVersion.value_or("<unset>") +
             "] expected [" + e->version + "]");
  if (!(s.flags & 16)) {
    std::string trace =
        "javaVersion=" + s.version + ", javaVer=" + e->base + "\n";
    if (os.out.compare(0, trace.size(), trace) != 0)
      fail("first trace line differs",
           "expected [" + trace + "] got [" + os.out.substr(0, 200) + "]");
  }
}

bool endsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void checkFind(const Scenario& s) {
  ScenarioRun run(s);
  zindle::Launcher& launcher = run.launcher;
  zindle::JavaSearch search = zindle::findJavaForVersion(launcher);
  if (search.earlyExit) {
    if (*search.earlyExit != 11)
      fail("discovery ended with", std::to_string(*search.earlyExit));
    return;
  }
  const std::optional<std::string>& path = search.path;
  if (!path || path->empty()) return;
  std::string exe = launcher.settings.debug ? "java.exe" : "javaw.exe";
  if (!endsWith(*path, exe) && !endsWith(*path, exe + "\""))
    fail("Java path does not name the runtime", *path);
}

}  // namespace

// The numbers read from the required version and the installed names
// order as a total order would, and the wider search over the same keys,
// none of whose homes holds a program, chooses none.
void checkWiderSearch(const Scenario& s) {
  std::vector<zindle::JavaVersionNumbers> versions{
      zindle::readJavaVersion(s.version)};
  for (const std::string& name : s.names)
    versions.push_back(zindle::readJavaVersion(name));
  for (const auto& a : versions)
    for (const auto& b : versions)
      if ((zindle::compareJavaVersions(a, b) > 0) !=
          (zindle::compareJavaVersions(b, a) < 0))
        fail("version order is not antisymmetric", s.version);
  FakePlatform os;
  script(os, s);
  zindle::Launcher launcher(os);
  configure(launcher, s);
  if (zindle::searchJavaHome(launcher, &versions.front()))
    fail("the search chose a home without a program", s.version);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  zindle::fuzz::Input in = zindle::fuzz::splitInput(data, size);
  Scenario s;
  s.flags = in.flags;
  s.version = in.section(0);
  if (in.sections.size() > 1 && !in.section(1).empty())
    s.names = zindle::fuzz::splitLines(in.section(1));
  if (in.sections.size() > 2) s.homes = zindle::fuzz::splitLines(in.section(2));
  checkSelection(s);
  checkFind(s);
  checkWiderSearch(s);
  return 0;
}
