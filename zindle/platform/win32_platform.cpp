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

namespace zindle {

namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

void writeAll(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace

Win32Platform::Win32Platform() {
  // The runtime library's table as the process started. SetEnvironmentVariableA
  // does not change it, and the copy makes that independent of the runtime.
  for (char** entry = _environ; entry && *entry; ++entry) {
    const char* text = *entry;
    // Entries such as "=C:=C:\dir" hold per-drive directories, not
    // variables.
    if (text[0] == '=') continue;
    const char* equals = std::strchr(text, '=');
    if (!equals) continue;
    startupEnv_.emplace_back(std::string(text, equals),
                             std::string(equals + 1));
  }
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
  for (const auto& entry : startupEnv_) {
    if (equalsIgnoringCase(entry.first, name)) {
      *value = entry.second;
      return true;
    }
  }
  return false;
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
  std::string data;
  char chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    data.append(chunk, got);
  bool failed = std::ferror(file) != 0;
  int readErrno = errno;
  std::fclose(file);
  if (failed) {
    *error = std::strerror(readErrno);
    return false;
  }
  *contents = std::move(data);
  return true;
}

bool Win32Platform::writeFile(const std::string& path,
                              const std::string& contents, bool textMode) {
  std::FILE* file = std::fopen(path.c_str(), textMode ? "w" : "wb");
  if (!file) return false;
  std::fwrite(contents.data(), 1, contents.size(), file);
  std::fflush(file);
  std::fclose(file);
  return true;
}

void Win32Platform::writeStdout(const std::string& text) {
  writeAll(stdout, text);
}

void Win32Platform::writeStderr(const std::string& text) {
  writeAll(stderr, text);
}

PathStyle Win32Platform::pathStyle() { return PathStyle::kWindows; }

void Win32Platform::exitProcess(int status) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(status);
}

}  // namespace zindle
