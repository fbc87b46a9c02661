// Win32Platform: message boxes, system facts, environment, directories,
// files and standard streams of the Windows build. Registry reads live in
// win32_registry.cpp, processes in win32_process.cpp.
#include "platform/win32_platform.h"

#include <direct.h>
#include <io.h>
#include <windows.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/c_runtime.h"

namespace zindle {

Win32Platform::Win32Platform() {
  // The runtime library's table as the process started. SetEnvironmentVariableA
  // does not change it, and the copy makes that independent of the runtime.
  // Entries such as "=C:=C:\dir" hold per-drive directories and are left
  // out.
  startupEnv_ = copyEnvironment(_environ);
}

Win32Platform::~Win32Platform() = default;

int Win32Platform::messageBox(const std::string& text,
                              const std::string& caption, unsigned style) {
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

unsigned Win32Platform::windowsMajorVersion() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
  GetVersionExA(&info);
  return info.dwMajorVersion;
}

unsigned Win32Platform::processId() {
  return static_cast<unsigned>(GetCurrentProcessId());
}

std::int64_t Win32Platform::calendarSeconds() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

bool Win32Platform::lookupStartupEnv(const std::string& name,
                                     std::string* value) {
  return lookupIgnoringCase(startupEnv_, name, value);
}

bool Win32Platform::setEnv(const std::string& name, const std::string& value) {
  return SetEnvironmentVariableA(name.c_str(), value.c_str()) != 0;
}

std::string Win32Platform::currentDirectory() {
  char buffer[2048] = {};
  if (!_getcwd(buffer, sizeof buffer)) return std::string();
  return std::string(buffer);
}

bool Win32Platform::changeDirectory(const std::string& path) {
  return _chdir(path.c_str()) == 0;
}

bool Win32Platform::pathExists(const std::string& path) {
  return _access(path.c_str(), 0) == 0;
}

bool Win32Platform::readFile(const std::string& path, std::string* contents,
                             std::string* error) {
  // Binary mode: the portable reader turns CR LF into LF itself, so a file
  // reads the same here and on POSIX.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = std::strerror(errno);
    return false;
  }
  return readToEnd(file, contents, error);
}

bool Win32Platform::writeFile(const std::string& path,
                              const std::string& contents, bool textMode) {
  return writeWhole(path, textMode ? "w" : "wb", contents);
}

void Win32Platform::writeStdout(const std::string& text) {
  writeAll(stdout, text);
}

void Win32Platform::writeStderr(const std::string& text) {
  writeAll(stderr, text);
}

PathStyle Win32Platform::pathStyle() { return PathStyle::kWindows; }

}  // namespace zindle
