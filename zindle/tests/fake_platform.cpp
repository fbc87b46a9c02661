#include "fake_platform.h"

#include <algorithm>

#include "text.h"

namespace zindle::testing {

namespace {
bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}
}  // namespace

void FakePlatform::record(const std::string& kind, const std::string& text,
                          const std::string& caption, unsigned number,
                          bool flag) {
  events.push_back(FakeEvent{kind, text, caption, number, flag});
}

std::vector<FakeEvent> FakePlatform::eventsOf(const std::string& kind) const {
  std::vector<FakeEvent> result;
  for (const auto& e : events)
    if (e.kind == kind) result.push_back(e);
  return result;
}

std::vector<std::string> FakePlatform::boxes() const {
  std::vector<std::string> result;
  for (const auto& e : events)
    if (e.kind == "box") result.push_back(e.caption + "|" + e.text);
  return result;
}

int FakePlatform::messageBox(const std::string& text,
                             const std::string& caption, unsigned style) {
  record("box", text, caption, style);
  if (!boxAnswers.empty()) {
    int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
  }
  return (style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
}

bool FakePlatform::regOpenKeyIn(const RegistryPlace& place,
                                const std::string& path, RegKey* key) {
  std::map<std::string, FakeRegistryKey>* keys = &registry;
  std::string where;
  if (place.root == RegistryRoot::kUser) {
    keys = &currentUser;
    where = "HKCU";
  } else if (place.view != RegistryView::kOwn) {
    where = place.view == RegistryView::k64 ? "HKLM64" : "HKLM32";
    if (place.view != ownView) keys = &otherView;
  }
  record("regOpen", path, where);
  if (keys->find(path) == keys->end()) return false;
  openKeys_.push_back({keys, path});
  *key = openKeys_.size();
  return true;
}

bool FakePlatform::regQueryString(RegKey key, const std::string& valueName,
                                  std::size_t maxBytes, std::string* value) {
  record("regQuery", valueName, openKeys_.at(key - 1).path,
         static_cast<unsigned>(maxBytes));
  const auto& values = keyOf(key).values;
  auto it = values.find(valueName);
  if (it == values.end()) return false;
  // RegQueryValueExA fails with ERROR_MORE_DATA when the value does not fit.
  if (it->second.size() + 1 > maxBytes) return false;
  *value = it->second;
  return true;
}

bool FakePlatform::regQuerySubkeyCount(RegKey key, unsigned* count) {
  record("regInfo", openKeys_.at(key - 1).path);
  if (failSubkeyCount) return false;
  *count = static_cast<unsigned>(keyOf(key).subkeys.size());
  return true;
}

bool FakePlatform::regEnumSubkey(RegKey key, unsigned index,
                                 std::size_t maxChars, std::string* name) {
  record("regEnum", openKeys_.at(key - 1).path, {}, index);
  const auto& subkeys = keyOf(key).subkeys;
  if (index >= subkeys.size()) return false;
  if (subkeys[index].size() > maxChars) return false;
  *name = subkeys[index];
  return true;
}

void FakePlatform::regCloseKey(RegKey key) {
  record("regClose", openKeys_.at(key - 1).path);
}

bool FakePlatform::startProcess(const ProcessRequest& request,
                                ProcessHandle* process, unsigned* errorCode) {
  record("start", request.commandLine, request.workingDir,
         request.creationFlags, request.hasConsoleTitle);
  if (failStart) {
    *errorCode = startError;
    return false;
  }
  started_.push_back(request);
  *process = started_.size();
  return true;
}

void FakePlatform::waitForInputIdle(ProcessHandle, unsigned milliseconds) {
  record("waitIdle", {}, {}, milliseconds);
}

int FakePlatform::waitForExit(ProcessHandle process) {
  int code = 0;
  if (!exitCodes.empty()) {
    code = exitCodes.front();
    exitCodes.pop_front();
  }
  record("wait", started_.at(process - 1).commandLine, {},
         static_cast<unsigned>(code));
  return code;
}

void FakePlatform::closeProcess(ProcessHandle process) {
  record("close", {}, {}, static_cast<unsigned>(process));
}

std::string FakePlatform::systemErrorText(unsigned errorCode) {
  return "system error " + std::to_string(errorCode);
}

bool FakePlatform::allocConsole() {
  record("allocConsole", {});
  return true;
}

bool FakePlatform::setConsoleTitle(const std::string& title) {
  record("title", title);
  return true;
}

std::intptr_t FakePlatform::shellOpen(const std::string& file) {
  record("shell", file);
  return 42;
}

void FakePlatform::openAddress(const std::string& url) { record("open", url); }

std::int64_t FakePlatform::calendarSeconds() {
  if (!clock.empty()) {
    lastClock = clock.front();
    clock.pop_front();
  }
  return lastClock;
}

bool FakePlatform::lookupStartupEnv(const std::string& name,
                                    std::string* value) {
  ++startupEnvLookups;
  for (const auto& [key, text] : startupEnv) {
    if (equalsIgnoringCase(key, name)) {
      *value = text;
      return true;
    }
  }
  return false;
}

bool FakePlatform::setEnv(const std::string& name, const std::string& value) {
  record("setenv", name, value);
  env[name] = value;
  return true;
}

bool FakePlatform::changeDirectory(const std::string& path) {
  record("chdir", path);
  cwd = path;
  return true;
}

bool FakePlatform::pathExists(const std::string& path) {
  return files.count(path) || directories.count(path) || unreadable.count(path);
}

bool FakePlatform::programExists(const std::string& path) {
  record("exists", path);
  return files.count(path) != 0;
}

bool FakePlatform::readFile(const std::string& path, std::string* contents,
                            std::string* error) {
  ++filesRead;
  if (directories.count(path)) {
    *error = "Permission denied";
    return false;
  }
  if (unreadable.count(path) || !files.count(path)) {
    *error = unreadable.count(path) ? "Permission denied"
                                    : "No such file or directory";
    return false;
  }
  *contents = files.at(path);
  return true;
}

bool FakePlatform::writeFile(const std::string& path,
                             const std::string& contents, bool textMode) {
  record("write", path, {}, 0, textMode);
  if (unwritable.count(path)) return false;
  files[path] = contents;
  return true;
}

std::string FakePlatform::narrowUtf16(const std::u16string& text,
                                      bool* replaced) {
  if (utf8CodePage) return utf16ToUtf8(text, replaced);
  *replaced = std::any_of(text.begin(), text.end(),
                          [](char16_t unit) { return unit >= 0x100; });
  return latin1FromUtf16(text);
}

void FakePlatform::writeStdout(const std::string& text) {
  record("stdout", text);
  out += text;
}

void FakePlatform::writeStderr(const std::string& text) {
  record("stderr", text);
  err += text;
}

}  // namespace zindle::testing
