// The launcher's platform on posix. Its methods are defined in
// posix_platform.cpp (boxes, environment, files, streams), posix_registry.cpp
// (registry reads) and posix_process.cpp (processes, consoles, shell).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform.h"

namespace zindle {

class PosixPlatform final : public Platform {
 public:
  PosixPlatform();
  ~PosixPlatform() override;

  int messageBox(const std::string& text, const std::string& caption,
                 unsigned style) override;
  bool regOpenKey(const std::string& path, RegKey* key) override;
  bool regQueryString(RegKey key, const std::string& valueName,
                      std::size_t maxBytes, std::string* value) override;
  bool regQuerySubkeyCount(RegKey key, unsigned* count) override;
  bool regEnumSubkey(RegKey key, unsigned index, std::size_t maxChars,
                     std::string* name) override;
  void regCloseKey(RegKey key) override;
  bool startProcess(const ProcessRequest& request, ProcessHandle* process,
                    unsigned* errorCode) override;
  void waitForInputIdle(ProcessHandle process, unsigned milliseconds) override;
  int waitForExit(ProcessHandle process) override;
  void closeProcess(ProcessHandle process) override;
  std::string systemErrorText(unsigned errorCode) override;
  bool allocConsole() override;
  bool setConsoleTitle(const std::string& title) override;
  std::intptr_t shellOpen(const std::string& file) override;
  unsigned windowsMajorVersion() override;
  unsigned processId() override;
  std::int64_t calendarSeconds() override;
  bool lookupStartupEnv(const std::string& name, std::string* value) override;
  bool setEnv(const std::string& name, const std::string& value) override;
  std::string currentDirectory() override;
  bool changeDirectory(const std::string& path) override;
  bool pathExists(const std::string& path) override;
  bool readFile(const std::string& path, std::string* contents,
                std::string* error) override;
  bool writeFile(const std::string& path, const std::string& contents,
                 bool textMode) override;
  void writeStdout(const std::string& text) override;
  void writeStderr(const std::string& text) override;
  PathStyle pathStyle() override;

 private:
  // Registry view: a .reg file named by ZINDLE_REGISTRY, else the Java
  // runtimes installed under /usr/lib/jvm. Defined in posix_registry.cpp.
  struct Registry;
  friend struct Registry;
  std::unique_ptr<Registry> registry_;
  // The environment as the process started, for lookupStartupEnv.
  std::vector<std::pair<std::string, std::string>> startupEnv_;
};

}  // namespace zindle
