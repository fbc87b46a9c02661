// Hostile configuration files for the launcher: a 10,000-line file with
// expansions everywhere, a chain of 1,000 files that each include the next,
// lines of 100,000 characters and values that expand to far more than the
// 2,047 characters an expanded text may hold.
//
//   zindle_stress read        writes the files into a fresh temporary
//                             directory and reads them in this process
//                             (under ASan in the sanitized build)
//   zindle_stress fanout      the same with a file that includes itself
//                             twice: nesting is bounded, the work must be too
//   zindle_stress write DIR NAME JAVAPATH
//                             writes the files into DIR, the top one as
//                             NAME.config with "javapath JAVAPATH", for a run
//                             of the real launcher binary
//
// Exits 0 when every check holds. Times are printed, never checked.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config_reader.h"
#include "platform/system_platform.h"
#include "tests/tool_main.h"

namespace {

constexpr int kLines = 10000;
constexpr int kChainFiles = 1000;
constexpr std::size_t kLongLine = 100000;
const std::string kBig(3000, 'B');

int failures = 0;

void check(bool ok, const std::string& what) {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    ++failures;
  }
}

std::string chainName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "chain%04d.config", i);
  return name;
}

// The 10,000-line top file. Its lists stay small enough for one command
// line of a real process start.
std::string topFile(const std::string& javaPath, bool fanout) {
  std::string t;
  t.reserve(1 << 20);
  int lines = 0;
  auto line = [&](const std::string& text) {
    t += text;
    t += '\n';
    ++lines;
  };
  line("include " + chainName(1));
  if (!javaPath.empty()) line("javapath " + javaPath);
  if (fanout) {
    line("include fanout.config");
  }
  // One line of 100,000 characters read in 2,047-character pieces: only
  // the first piece is a directive.
  line("vmparam -Dlong=" + std::string(kLongLine - 15, 'L'));
  // Another with blanks all through it: every piece has a keyword part
  // that matches nothing.
  std::string words;
  while (words.size() < kLongLine) words += "word ";
  line(words);
  // Expansions past 2,047 characters, one substitution and many.
  line("vmparam -Dbig=$STRESS_BIG");
  line("addpath $STRESS_BIG\\lib");
  line("consoleTitle $STRESS_BIG $STRESS_BIG $STRESS_BIG");
  line("appname " + std::string(2000, 'a') + "$STRESS_BIG");
  line(
      "vmparam -Dmany=$STRESS_SMALL$STRESS_SMALL$STRESS_SMALL$STRESS_SMALL"
      "$STRESS_SMALL$STRESS_SMALL$STRESS_SMALL$STRESS_SMALL$STRESS_SMALL");
  // A value that brings its own name back.
  line("vmparam -Dloop=$STRESS_LOOP");
  line("setenv STRESS_SET=$STRESS_BIG$STRESS_BIG");
  for (int i = 0; lines < kLines; ++i) {
    switch (i % 10) {
      case 0:
        line("# comment " + std::to_string(i));
        break;
      case 1:
        line(i % 100 == 1 ? "vmparam -Dp" + std::to_string(i) + "=$STRESS_BIG"
                          : "vmparam -Dp" + std::to_string(i) + "=$pid");
        break;
      case 2:
        line("appname App $STRESS_SMALL\\" + std::to_string(i));
        break;
      case 3:
        line("setenv STRESS_" + std::to_string(i % 50) + "=$STRESS_SMALL\\x");
        break;
      case 4:
        line("mainclass stress.Main");
        break;
      case 5:
        line(i % 50 == 5 ? "addjar lib\\j" + std::to_string(i) + ".jar"
                         : "outputFile out" + std::to_string(i));
        break;
      case 6:
        line(i % 50 == 6 ? "argument a" + std::to_string(i)
                         : "unknownDirective " + std::to_string(i));
        break;
      case 7:
        line("include missing" + std::to_string(i % 7) + ".config");
        break;
      case 8:
        line("showConsole false");
        break;
      default:
        line("noSpaceLine" + std::to_string(i));
        break;
    }
  }
  return t;
}

void writeAll(const std::string& dir, const std::string& topName,
              const std::string& javaPath, bool fanout) {
  writeFile(dir + "/" + topName, topFile(javaPath, fanout));
  for (int i = 1; i <= kChainFiles; ++i) {
    std::string text = "vmparam -Dchain" + std::to_string(i) + "=1\n";
    if (i < kChainFiles) text += "include " + chainName(i + 1) + "\n";
    writeFile(dir + "/" + chainName(i), text);
  }
  // Includes itself twice: 2^depth reads unless the total is bounded.
  writeFile(dir + "/fanout.config",
            "include fanout.config\ninclude fanout.config\n"
            "vmparam -Dfanout=1\n");
}

void setEnvironment() {
  setenv("STRESS_BIG", kBig.c_str(), 1);
  setenv("STRESS_SMALL", std::string(300, 's').c_str(), 1);
  setenv("STRESS_LOOP", "x$STRESS_LOOP", 1);
}

int readHere(bool fanout) {
  char pattern[] = "/tmp/zindle-stress-XXXXXX";
  if (!mkdtemp(pattern)) {
    std::perror("mkdtemp");
    return 2;
  }
  std::string dir = pattern;
  writeAll(dir, "stress.config", "", fanout);
  if (chdir(dir.c_str()) != 0) {
    std::perror("chdir");
    return 2;
  }
  setEnvironment();

  zindle::SystemPlatform platform;
  zindle::Launcher launcher(platform);
  launcher.settings.quiet = true;
  launcher.settings.startDir = dir;
  auto start = std::chrono::steady_clock::now();
  int result = zindle::readConfigFile(launcher, "stress.config").code;
  double ms = std::chrono::duration<double, std::milli>(
                  std::chrono::steady_clock::now() - start)
                  .count();

  const zindle::LaunchSettings& s = launcher.settings;
  check(result == 0, "readConfigFile returned " + std::to_string(result));
  check(launcher.includeDepth == 0, "include depth not back to 0");
  int chain = 0;
  bool longPiece = false;
  for (const std::string& v : s.vmParams) {
    check(v.size() <= zindle::kMaxExpandedChars,
          "vmparam of " + std::to_string(v.size()) + " characters");
    if (v.compare(0, 7, "-Dchain") == 0) ++chain;
    if (v.compare(0, 7, "-Dlong=") == 0) {
      longPiece = true;
      check(v.find_first_not_of('L', 7) == std::string::npos,
            "the long line's first piece is not all its own characters");
    }
  }
  for (const std::string& v : s.classPath)
    check(v.size() <= zindle::kMaxExpandedChars + 2,
          "class path entry of " + std::to_string(v.size()) + " characters");
  for (const auto* v :
       {&s.appName, &s.consoleTitle, &s.mainClass, &s.outputFile})
    check(!*v || (*v)->size() <= zindle::kMaxExpandedChars,
          "single-valued text over 2047 characters");
  check(longPiece, "the first piece of the 100,000-character line was lost");
  check(chain >= 1 && chain < kChainFiles,
        "include chain read " + std::to_string(chain) + " of " +
            std::to_string(kChainFiles) + " files (expected a bound)");
  check(s.mainClass.value_or("") == "stress.Main", "main class not read");

  std::printf(
      "read %d lines, %d chained files, %zu vm parameters, %zu class path "
      "entries, %zu arguments in %.1f ms\n",
      kLines, chain, s.vmParams.size(), s.classPath.size(),
      s.programArgs.size(), ms);
  std::printf("%s\n", failures == 0 ? "all checks passed" : "checks FAILED");
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return guardedMain("zindle_stress", [&] {
    std::string mode = argc > 1 ? argv[1] : "read";
    if (mode == "read") return readHere(false);
    if (mode == "fanout") return readHere(true);
    if (mode == "write" && argc == 5) {
      writeAll(argv[2], std::string(argv[3]) + ".config", argv[4], false);
      return 0;
    }
    std::fprintf(stderr,
                 "usage: zindle_stress read | fanout | write DIR NAME "
                 "JAVAPATH\n");
    return 2;
  });
}
