// readConfigFile over fuzzed file contents, includes and environment.
//
// Input: flag byte, then sections separated by 0xFF: the environment
// ("NAME=VALUE" lines), the top file "app.config", and the files "inc1",
// "inc2", ... that the top file and each other may include. The registry
// holds a few fixed runtimes so that "javaVersion" lines reach discovery.
//
// Flags: 1 debug, 2 quiet, 4 POSIX paths, 8 Vista or later, 16 "inc2" exists
// but cannot be opened, 32 "dir" is a directory, 64 the code page is not
// UTF-8 (files with a UTF-8 mark are converted).
#include <cstddef>
#include <cstdint>
#include <string>

#include "config_reader.h"
#include "fake_platform.h"
#include "fuzz_input.h"
#include "java_discovery.h"

namespace {

using zindle::kMaxExpandedChars;
using zindle::fuzz::fail;

void addRuntime(zindle::testing::FakePlatform& os, const std::string& name,
                const std::string& home) {
  std::string root = zindle::kJavaRootKey;
  os.registry[root].subkeys.push_back(name);
  os.registry[root + "\\" + name].values["JavaHome"] = home;
}

void checkText(const std::string& text, std::size_t limit, const char* what) {
  if (text.size() > limit)
    fail(what, "length " + std::to_string(text.size()) + " over " +
                   std::to_string(limit));
}

void checkSettings(const zindle::Launcher& launcher) {
  const zindle::LaunchSettings& s = launcher.settings;
  // Every stored text comes from one line of at most 2047 characters or
  // from one expansion of at most 2047; a class-path folder adds "/*".
  for (const auto& v : s.vmParams) checkText(v, kMaxExpandedChars, "vmparam");
  for (const auto& v : s.programArgs)
    checkText(v, kMaxExpandedChars, "argument");
  for (const auto& v : s.classPath)
    checkText(v, kMaxExpandedChars + 2, "class path entry");
  for (const auto* v : {&s.mainClass, &s.appName, &s.consoleTitle,
                        &s.workingDir, &s.outputFile, &s.logFile})
    if (*v) checkText(**v, kMaxExpandedChars, "single-valued text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  zindle::fuzz::Input in = zindle::fuzz::splitInput(data, size);
  zindle::fuzz::CountingPlatform os;
  os.style =
      (in.flags & 4) ? zindle::PathStyle::kPosix : zindle::PathStyle::kWindows;
  os.majorVersion = (in.flags & 8) ? 6 : 5;
  os.utf8CodePage = (in.flags & 64) == 0;
  zindle::fuzz::loadEnvironment(os, in.section(0));
  os.files["app.config"] = in.section(1);
  for (std::size_t i = 2; i < in.sections.size(); ++i)
    os.files["inc" + std::to_string(i - 1)] = in.sections[i];
  if (in.flags & 16) os.unreadable.insert("inc2");
  if (in.flags & 32) os.directories.insert("dir");

  std::string root = zindle::kJavaRootKey;
  os.registry[root].values["CurrentVersion"] = "1.6.0_20";
  addRuntime(os, "1.6", "C:\\Java\\jre6");
  addRuntime(os, "1.6.0_20", "C:\\Program Files\\Java\\jre1.6.0_20");
  addRuntime(os, "1.6.0_7", "C:\\Java\\jre1.6.0_7");
  addRuntime(os, "1.8.0_5", "/usr/lib/jvm/java-8");
  os.registry[root].subkeys.push_back("1.7.0_1");  // no key of its own

  zindle::Launcher launcher(os);
  launcher.settings.debug = (in.flags & 1) && !(in.flags & 2);
  launcher.settings.quiet = (in.flags & 2) != 0;
  launcher.settings.isVistaOrLater = (in.flags & 8) != 0;
  launcher.settings.startDir = os.cwd;

  zindle::ConfigRead read = zindle::readConfigFile(launcher, "app.config");
  if (read.code != 0) fail("readable top file gave", std::to_string(read.code));
  if (launcher.includeDepth != 0)
    fail("include depth not restored", std::to_string(launcher.includeDepth));
  // Only an unsatisfiable "javaVersion" ends the run while reading.
  if (read.earlyExit && *read.earlyExit != 5 && *read.earlyExit != 11)
    fail("unexpected exit status", std::to_string(*read.earlyExit));
  checkSettings(launcher);
  return 0;
}
