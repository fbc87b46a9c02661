// Zindle: the entry routine.
//
// It hands the argument vector to the run sequence together with the
// platform of the system the launcher was built for, and ends the process
// with the status the run ended with.
#include <cstdlib>
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
    zindle::Launcher launcher(platform);
    // The one path of a run. It ends the process here, inside the scope
    // that holds the settings: a large configuration holds thousands of
    // texts, and releasing them one by one just before the end would be
    // work for nothing, and bench/run.sh counts a whole run's
    // instructions. The C runtime flushes the standard streams.
    std::exit(zindle::runSequence(launcher, args));
  } catch (...) {
    // Out of memory is the only way here; report it like a configuration
    // path that could not be formed.
    return zindle::kExitConfigUnreadable;
  }
}

}  // namespace

#ifdef _WIN32
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The runtime library's argument vector; the free command-line string is
  // not used.
  return runGuarded(__argc, __argv);
}
#else
int main(int argc, char** argv) { return runGuarded(argc, argv); }
#endif
