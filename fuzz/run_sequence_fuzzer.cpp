// The whole launcher run on the fake platform: fuzzed start-up options, a
// configuration file next to the executable, its includes, the environment
// and the exit codes of the started processes.
//
// Input: flag byte (1 POSIX paths, 2 Vista or later, 4 process starts fail,
// 8 the first process asks for a restart), then sections separated by 0xFF:
// the arguments after the program name (one a line), the configuration file,
// an included file "inc1", and the environment ("NAME=VALUE" lines).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config_reader.h"
#include "fake_platform.h"
#include "fuzz_input.h"
#include "java_discovery.h"
#include "run_sequence.h"

using zindle::fuzz::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  zindle::fuzz::Input in = zindle::fuzz::splitInput(data, size);
  zindle::fuzz::CountingPlatform os;
  bool posix = (in.flags & 1) != 0;
  os.style = posix ? zindle::PathStyle::kPosix : zindle::PathStyle::kWindows;
  os.majorVersion = (in.flags & 2) ? 6 : 5;
  os.failStart = (in.flags & 4) != 0;
  if (in.flags & 8) os.exitCodes = {zindle::kRestartCode, 0};
  os.cwd = posix ? "/app" : "C:\\app";
  std::string exe = posix ? "/app/runner" : "C:\\app\\runner.exe";
  std::string config = posix ? "/app/runner.config" : "C:\\app\\runner.config";
  os.files[config] = in.section(1);
  os.files["inc1"] = in.section(2);
  zindle::fuzz::loadEnvironment(os, in.section(3));
  std::string root = zindle::kJavaRootKey;
  os.registry[root].values["CurrentVersion"] = "1.6.0_20";
  os.registry[root].subkeys = {"1.6", "1.6.0_20"};
  os.registry[root + "\\1.6.0_20"].values["JavaHome"] = "C:\\Java\\jre";

  std::vector<std::string> args{exe};
  if (!in.section(0).empty())
    for (const std::string& a : zindle::fuzz::splitLines(in.section(0)))
      args.push_back(a);

  zindle::Launcher launcher(os);
  int status = zindle::runSequence(launcher, args);
  if (status != 0 && status != 1 && status != 2 && status != 5 && status != 11)
    fail("exit status outside 0, 1, 2, 5, 11", std::to_string(status));
  // A restart composes and starts the process again; nothing else does.
  std::size_t starts = os.eventsOf("start").size();
  if (!os.failStart && (in.flags & 8) && status == 0 && starts == 1)
    fail("a restart request did not start the process again", "");
  if (starts > 2) fail("more starts than requested", std::to_string(starts));
  // Java was never started: the run must not end as if it had been.
  if (os.failStart && starts > 0 && status != zindle::kExitJavaNotStarted)
    fail("a start that failed did not end with status 2",
         std::to_string(status));
  return 0;
}
