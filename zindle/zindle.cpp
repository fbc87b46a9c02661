// Zindle: the entry routine.
//
// It hands the argument vector to the run sequence together with the
// platform of the system the launcher was built for, and returns the status
// the run ended with.
#include <string>
#include <vector>

#include "platform/system_platform.h"
#include "run_sequence.h"

namespace {

int runGuarded(int argc, char** argv) {
  try {
    zindle::SystemPlatform platform;
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
    if (args.empty()) args.emplace_back("");
    return zindle::runLauncher(platform, args);
  } catch (...) {
    // Out of memory is the only way here; report it like a configuration
    // path that could not be formed.
    return 2;
  }
}

}  // namespace

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The runtime library's argument vector; the free command-line string is
  // not used.
  return runGuarded(__argc, __argv);
}
#else
int main(int argc, char** argv) { return runGuarded(argc, argv); }
#endif
