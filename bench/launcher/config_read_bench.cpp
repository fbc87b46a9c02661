// Time to read a 10,000-line configuration with includes and expansions
// through the launcher's core on the POSIX platform.
//
//   config_read_bench [runs]
//
// Writes the files into a fresh temporary directory, reads them `runs`
// times (default 200) with a fresh settings record each time, after a few
// warm-up reads, and prints
//   RESULT|name|median_ms|ms|goal_ms|ratio|goal
//
//   config_read_bench write DIR NAME JAVAPATH
//
// Writes a whole application's configuration for one run of the real
// launcher binary: DIR/NAME.config and the four files it includes, 10,000
// lines and about 290 KB with 2,500 "vmparam", 2,600 class-path and 1,500
// "argument" lines, comments, and "$" expansions of BENCH_HOME, BENCH_WORK
// and BENCH_USER in most of the others.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "config_reader.h"
#include "platform/system_platform.h"
#include "tests/tool_main.h"

namespace {

constexpr int kTopLines = 9000;
constexpr int kIncludedFiles = 10;
constexpr int kLinesPerInclude = 100;

// A line such as an application's configuration holds.
std::string line(int i) {
  std::string n = std::to_string(i);
  switch (i % 12) {
    case 0:
      return "# section " + n;
    case 1:
      return "vmparam -Dbench.p" + n + "=$BENCH_HOME\\data\\" + n;
    case 2:
      return "addjar $BENCH_HOME\\lib\\part" + n + ".jar";
    case 3:
      return "appname Bench model " + n;
    case 4:
      return "setenv BENCH_V" + std::to_string(i % 20) + "=$BENCH_HOME\\v";
    case 5:
      return "argument --option=" + n;
    case 6:
      return "vmparam -Dbench.pid" + n + "=$pid";
    case 7:
      return "mainclass qel.bench.Main";
    case 8:
      return "workingDir $BENCH_WORK\\run";
    case 9:
      return "vmparam -Xss" + std::to_string(1 + i % 8) + "m";
    case 10:
      return "addpath $BENCH_SPACED\\classes";
    default:
      return "consoleTitle Bench $BENCH_USER";
  }
}

// Line i (0 to 99 within each hundred) of the run configuration.
std::string runLine(int i) {
  const std::string n = std::to_string(i);
  const int k = i % 100;
  if (k < 25) return "vmparam -Dp" + n + "=$BENCH_HOME/d" + n;
  if (k < 48) return "addjar $BENCH_HOME/lib/j" + n + ".jar";
  if (k < 50) return "addpath $BENCH_HOME\\c" + n;
  if (k < 51) return "addjars $BENCH_HOME/x" + n;
  if (k < 66) return "argument --o" + n + "=v";
  if (k < 80) return "# note on the setting above, " + n;
  if (k < 88) return "appname Model $BENCH_USER";
  if (k < 94) return "outputFile $BENCH_WORK/o" + n;
  if (k < 97) return "consoleTitle $BENCH_USER";
  if (k < 99) return "workingDir $BENCH_WORK";
  return "mainclass qel.bench.Main";
}

int writeRunConfig(const std::string& dir, const std::string& name,
                   const std::string& javaPath) {
  constexpr int kFiles = 5;
  constexpr int kLinesPerFile = 2000;
  for (int f = 0; f < kFiles; ++f) {
    std::string text;
    int first = f * kLinesPerFile;
    if (f == 0) {
      text += "javapath " + javaPath + "\n";
      for (int g = 1; g < kFiles; ++g)
        text += "include " + dir + "/part" + std::to_string(g) + ".config\n";
      first += kFiles;
    }
    for (int i = first; i < (f + 1) * kLinesPerFile; ++i)
      text += runLine(i) + "\n";
    writeFile(f == 0 ? dir + "/" + name + ".config"
                     : dir + "/part" + std::to_string(f) + ".config",
              text);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return guardedMain("config_read_bench", [&] {
    if (argc == 5 && std::string(argv[1]) == "write")
      return writeRunConfig(argv[2], argv[3], argv[4]);
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    char pattern[] = "/tmp/zindle-config-bench-XXXXXX";
    if (!mkdtemp(pattern) || chdir(pattern) != 0) {
      std::perror("temporary directory");
      return 2;
    }
    setenv("BENCH_HOME", "/opt/bench/model", 1);
    setenv("BENCH_WORK", "/var/tmp/bench", 1);
    setenv("BENCH_SPACED", "/opt/bench/with spaces", 1);
    setenv("BENCH_USER", "bench user", 1);

    std::string top;
    int lines = 0;
    for (int f = 0; f < kIncludedFiles; ++f) {
      std::string text;
      for (int i = 0; i < kLinesPerInclude; ++i)
        text += line(f * kLinesPerInclude + i) + "\n";
      std::string name = "part" + std::to_string(f) + ".config";
      writeFile(name, text);
      lines += kLinesPerInclude;
    }
    for (int i = 0; i < kTopLines; ++i) {
      if (i % (kTopLines / kIncludedFiles) == 0)
        top += "include part" +
               std::to_string(i / (kTopLines / kIncludedFiles)) + ".config\n";
      else
        top += line(i) + "\n";
      ++lines;
    }
    writeFile("bench.config", top);

    zindle::SystemPlatform platform;
    std::vector<double> ms;
    std::size_t entries = 0;
    for (int r = -5; r < runs; ++r) {
      zindle::Launcher launcher(platform);
      launcher.settings.quiet = true;
      auto start = std::chrono::steady_clock::now();
      int result = zindle::readConfigFile(launcher, "bench.config").code;
      auto end = std::chrono::steady_clock::now();
      if (result != 0) {
        std::fprintf(stderr, "readConfigFile returned %d\n", result);
        return 1;
      }
      entries = launcher.settings.vmParams.size() +
                launcher.settings.classPath.size() +
                launcher.settings.programArgs.size();
      if (r >= 0)
        ms.push_back(
            std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(ms.begin(), ms.end());
    double median = ms[ms.size() / 2];
    std::printf(
        "INFO|configuration of %d lines (%d included), %zu list "
        "entries; %d reads, fastest %.3f ms\n",
        lines, kIncludedFiles * kLinesPerInclude, entries, runs, ms.front());
    std::printf(
        "RESULT|reading a %d-line configuration with includes and "
        "expansions|%.3f|ms|5|%.3f|< 1x (5 ms)\n",
        lines, median, median / 5.0);
    return 0;
  });
}
