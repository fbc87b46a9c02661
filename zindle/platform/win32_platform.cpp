// SystemPlatform on Windows: message boxes, system facts, environment,
// directories and files. Registry reads live in win32_registry.cpp,
// processes in win32_process.cpp.
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
#include "platform/system_platform.h"

namespace zindle {

// Windows reads its own registry: no state is kept for it.
struct SystemPlatform::Registry {};

SystemPlatform::SystemPlatform() {
  // The runtime library's table as the process started. SetEnvironmentVariableA
  // does not change it, and the copy makes that independent of the runtime.
  // Entries such as "=C:=C:\dir" hold per-drive directories and are left
  // out.
  startupEnv_ = copyEnvironment(_environ);
}

SystemPlatform::~SystemPlatform() = default;

int SystemPlatform::messageBox(const std::string& text,
                               const std::string& caption, unsigned style) {
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

unsigned SystemPlatform::windowsMajorVersion() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
  GetVersionExA(&info);
  return info.dwMajorVersion;
}

unsigned SystemPlatform::processId() {
  return static_cast<unsigned>(GetCurrentProcessId());
}

bool SystemPlatform::setEnv(const std::string& name, const std::string& value) {
  return SetEnvironmentVariableA(name.c_str(), value.c_str()) != 0;
}

std::string SystemPlatform::currentDirectory() {
  char buffer[2048] = {};
  if (!_getcwd(buffer, sizeof buffer)) return std::string();
  return std::string(buffer);
}

bool SystemPlatform::changeDirectory(const std::string& path) {
  return _chdir(path.c_str()) == 0;
}

bool SystemPlatform::pathExists(const std::string& path) {
  return _access(path.c_str(), 0) == 0;
}

bool SystemPlatform::readFile(const std::string& path, std::string* contents,
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

bool SystemPlatform::writeFile(const std::string& path,
                               const std::string& contents, bool textMode) {
  return writeWhole(path, textMode ? "w" : "wb", contents);
}

PathStyle SystemPlatform::pathStyle() { return PathStyle::kWindows; }

}  // namespace zindle
