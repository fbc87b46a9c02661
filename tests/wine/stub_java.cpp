// A stand-in for java.exe and javaw.exe in the Wine tests.
//
// Appends to the file named by ZSTUB_RECORD what it was given: the command
// line, the arguments as the C runtime split them, whether the launcher's
// own splitter (the one its Linux build uses) splits the command line the
// same way, the working directory, the variable ZSTUB_VALUE and its own
// path. Then it ends with the exit code of this run from ZSTUB_EXITS
// ("999,0": 999 the first time, 0 after).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/command_line_split.h"

namespace {

std::string envOr(const char* name, const char* fallback) {
  char buffer[4096];
  DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return fallback;
  return std::string(buffer, n);
}

// How many runs the record already holds.
int previousRuns(const std::string& record) {
  std::FILE* f = std::fopen(record.c_str(), "rb");
  if (f == nullptr) return 0;
  int runs = 0;
  char line[8192];
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, "#run ", 5) == 0) ++runs;
  std::fclose(f);
  return runs;
}

int exitCodeFor(int run) {
  std::string codes = envOr("ZSTUB_EXITS", "0");
  int index = 0;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = codes.find(',', start);
    std::string item = codes.substr(start, comma - start);
    if (index == run || comma == std::string::npos)
      return std::atoi(item.c_str());
    start = comma + 1;
    ++index;
  }
}

int run() {
  std::string record = envOr("ZSTUB_RECORD", "");
  if (record.empty()) return 90;
  int runs = previousRuns(record);
  std::FILE* f = std::fopen(record.c_str(), "ab");
  if (f == nullptr) return 91;
  char cwd[MAX_PATH * 2] = {};
  GetCurrentDirectoryA(sizeof cwd, cwd);
  char self[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::fprintf(f, "#run %d\n", runs);
  std::fprintf(f, "cmdline=%s\n", GetCommandLineA());
  std::fprintf(f, "argc=%d\n", __argc);
  for (int i = 1; i < __argc; ++i)
    std::fprintf(f, "arg[%d]=%s\n", i, __argv[i]);
  // The program name follows rules of its own; the arguments are compared.
  const std::vector<std::string> ours =
      zindle::splitCommandLine(GetCommandLineA());
  bool agrees = ours.size() == static_cast<std::size_t>(__argc);
  for (int i = 1; agrees && i < __argc; ++i) agrees = ours[i] == __argv[i];
  std::fprintf(f, "split=%s\n", agrees ? "agrees" : "differs");
  std::fprintf(f, "cwd=%s\n", cwd);
  std::fprintf(f, "env ZSTUB_VALUE=%s\n",
               envOr("ZSTUB_VALUE", "<unset>").c_str());
  const char* name = std::strrchr(self, '\\');
  std::fprintf(f, "program=%s\n", name ? name + 1 : self);
  std::fclose(f);
  return exitCodeFor(runs);
}

}  // namespace

int main() { return run(); }
