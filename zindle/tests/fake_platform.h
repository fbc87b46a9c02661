// A scripted, recording Platform for unit tests.
//
// Every call that the launcher makes is appended to `events` in order, and
// the answers come from the script fields: box answers, registry contents,
// files, environment, process exit codes and clock readings.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform.h"

namespace zindle::testing {

struct FakeEvent {
  std::string kind;     // "box", "regOpen", "regQuery", "regInfo", "regEnum",
                        // "regClose", "exists", "start", "waitIdle", "wait",
                        // "close", "allocConsole", "title", "shell", "open",
                        // "setenv", "chdir", "write", "stdout", "stderr"
  std::string text;     // box text, key path, value name, command line, ...
  std::string caption;  // box caption, working directory, env value, ...
  unsigned number = 0;  // box style, creation flags, exit status, index ...
  bool flag = false;    // start: hasConsoleTitle; write: textMode
};

struct FakeRegistryKey {
  std::map<std::string, std::string> values;
  std::vector<std::string> subkeys;  // in enumeration order
};

class FakePlatform : public Platform {
 public:
  // --- script ---
  std::deque<int> boxAnswers;  // consumed in order; when empty: kIdOk for OK
                               // boxes, kIdNo for Yes/No boxes
  // Keys by full path: HKEY_LOCAL_MACHINE in the launcher's own view (the
  // 64-bit one unless ownView says otherwise), its other view, and
  // HKEY_CURRENT_USER.
  std::map<std::string, FakeRegistryKey> registry;
  std::map<std::string, FakeRegistryKey> otherView;
  std::map<std::string, FakeRegistryKey> currentUser;
  RegistryView ownView = RegistryView::k64;
  bool failSubkeyCount = false;
  std::deque<int> exitCodes;       // one per waited process; default 0
  std::deque<std::int64_t> clock;  // one per reading; default: last + 0
  std::int64_t lastClock = 1000;
  bool failStart = false;
  unsigned startError = 2;
  std::map<std::string, std::string> startupEnv;  // names as written
  std::map<std::string, std::string> env;         // after setenv
  std::map<std::string, std::string> files;       // path -> contents
  int startupEnvLookups = 0;                      // lookupStartupEnv calls
  int filesRead = 0;                              // readFile calls
  std::set<std::string> directories;
  std::set<std::string> unreadable;  // exist but cannot be opened
  std::set<std::string> unwritable;
  std::string cwd = "C:\\start";
  unsigned majorVersion = 6;
  unsigned pid = 4242;
  PathStyle style = PathStyle::kWindows;
  char listSeparator = ';';
  bool utf8CodePage = true;

  // --- record ---
  std::vector<FakeEvent> events;
  std::string out;  // everything written to standard output
  std::string err;  // everything written to standard error

  // Events of one kind, in order.
  std::vector<FakeEvent> eventsOf(const std::string& kind) const;
  // "caption|text" of every box, in order.
  std::vector<std::string> boxes() const;

  // --- Platform ---
  int messageBox(const std::string& text, const std::string& caption,
                 unsigned style) override;
  // Records "regOpen" with the path, and as caption the place when it is
  // not the own view of HKEY_LOCAL_MACHINE: "HKLM64", "HKLM32" or "HKCU".
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
  unsigned windowsMajorVersion() override { return majorVersion; }
  unsigned processId() override { return pid; }
  std::int64_t calendarSeconds() override;
  bool lookupStartupEnv(const std::string& name, std::string* value) override;
  bool setEnv(const std::string& name, const std::string& value) override;
  std::string currentDirectory() override { return cwd; }
  bool changeDirectory(const std::string& path) override;
  bool pathExists(const std::string& path) override;
  // Records "exists"; true for a path in `files`.
  bool programExists(const std::string& path) override;
  bool readFile(const std::string& path, std::string* contents,
                std::string* error) override;
  bool writeFile(const std::string& path, const std::string& contents,
                 bool textMode) override;
  // UTF-8, as on POSIX; or, with utf8CodePage unset, Latin-1 (a stand-in
  // for an ANSI code page) with "?" for what it lacks.
  std::string narrowUtf16(const std::u16string& text, bool* replaced) override;
  bool codePageIsUtf8() override { return utf8CodePage; }
  void writeStdout(const std::string& text) override;
  void writeStderr(const std::string& text) override;
  PathStyle pathStyle() override { return style; }
  char pathListSeparator() override { return listSeparator; }

 private:
  struct OpenKey {
    std::map<std::string, FakeRegistryKey>* keys;
    std::string path;
  };
  std::vector<OpenKey> openKeys_;  // index + 1 is the RegKey
  FakeRegistryKey& keyOf(RegKey key) {
    return openKeys_.at(key - 1).keys->at(openKeys_.at(key - 1).path);
  }
  std::vector<ProcessRequest> started_;
  void record(const std::string& kind, const std::string& text,
              const std::string& caption = {}, unsigned number = 0,
              bool flag = false);
};

}  // namespace zindle::testing
