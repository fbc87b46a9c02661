// Shared set-up of the launcher's unit tests: a fake platform, a launcher on
// it, and helpers that read a configuration text or run the whole sequence.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "config_reader.h"
#include "fake_platform.h"
#include "run_sequence.h"

namespace zindle::testing {

// True when no field of the record differs from its start value.
inline bool nothingSet(const LaunchSettings& s) {
  return s == LaunchSettings{};
}

class LauncherTest : public ::testing::Test {
 protected:
  FakePlatform os;
  Launcher launcher{os};
  LaunchSettings& settings = launcher.settings;

  // Reads `contents` as the file C:\start\app.config; returns the code of
  // readConfigFile.
  int readText(const std::string& contents) {
    os.files["C:\\start\\app.config"] = contents;
    return readConfigFile(launcher, "C:\\start\\app.config").code;
  }

  // Adds NAME=VALUE pairs to the environment the launcher starts with.
  void startupEnvironment(
      std::initializer_list<std::pair<const char*, const char*>> variables) {
    for (const auto& [name, value] : variables) os.startupEnv[name] = value;
  }

  // Runs the whole sequence; returns the status the launcher ended with.
  int run(const std::vector<std::string>& args) {
    return runSequence(launcher, args);
  }
};

}  // namespace zindle::testing
