// The platform of the system the launcher was built for.
//
// One declaration for both systems: the build compiles either the win32_*
// files (the real Windows calls) or the posix_* files (the Linux build)
// behind it. What both share through the C runtime library (environment,
// clock, standard streams) is defined once, in c_runtime.cpp.
#pragma once

#include <memory>
#include <string>

#include "platform.h"
#include "platform/c_runtime.h"

namespace zindle {

class SystemPlatform final : public Platform {
 public:
  SystemPlatform();
  ~SystemPlatform() override;

  int messageBox(const std::string& text, const std::string& caption,
                 unsigned style) override;
  bool regOpenKeyIn(const RegistryPlace& place, const std::string& path,
                    RegKey* key) override;
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
  void openAddress(const std::string& url) override;
  unsigned windowsMajorVersion() override;
  unsigned processId() override;
  std::int64_t calendarSeconds() override;
  bool lookupStartupEnv(const std::string& name, std::string* value) override;
  bool setEnv(const std::string& name, const std::string& value) override;
  std::string currentDirectory() override;
  bool changeDirectory(const std::string& path) override;
  bool pathExists(const std::string& path) override;
  bool programExists(const std::string& path) override;
  bool readFile(const std::string& path, std::string* contents,
                std::string* error) override;
  bool writeFile(const std::string& path, const std::string& contents,
                 bool textMode) override;
  std::string narrowUtf16(const std::u16string& text, bool* replaced) override;
  bool codePageIsUtf8() override;
  void writeStdout(const std::string& text) override;
  void writeStderr(const std::string& text) override;
  PathStyle pathStyle() override;
  char pathListSeparator() override;

  // What the registry reads need besides the system: on POSIX the view
  // read from a .reg file or made from the installed runtimes (see
  // posix_registry_state.h); nothing on Windows.
  struct Registry;

 private:
  std::unique_ptr<Registry> registry_;
  // The environment as the process started, for lookupStartupEnv.
  EnvironmentTable startupEnv_;
};

}  // namespace zindle
