// SystemPlatform on POSIX: message boxes, system facts, environment,
// directories and files. Registry reads live in posix_registry.cpp,
// processes in posix_process.cpp.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/c_runtime.h"
#include "platform/posix_paths.h"
#include "platform/posix_registry_state.h"
#include "platform/system_platform.h"
#include "text.h"

extern char** environ;

namespace zindle {

SystemPlatform::SystemPlatform() : registry_(std::make_unique<Registry>()) {
  // The copy is taken before anything can call setEnv, so lookups see the
  // environment the process started with, as the Windows runtime's own copy
  // does.
  startupEnv_ = copyEnvironment(environ);
}

SystemPlatform::~SystemPlatform() = default;

int SystemPlatform::messageBox(const std::string& text,
                               const std::string& caption, unsigned style) {
  // One box is one group of lines on standard error: "[caption] text".
  std::string box = "[" + caption + "] " + text;
  if (box.empty() || box.back() != '\n') box += '\n';
  writeAll(stderr, box);
  if ((style & kMbTypeMask) != kMbYesNo) return kIdOk;
  // Without a terminal nobody can answer; No is the safe answer.
  if (!isatty(STDIN_FILENO)) return kIdNo;
  writeAll(stderr, "Yes or No? [y/N] ");
  char answer[64] = {};
  if (!std::fgets(answer, sizeof answer, stdin)) return kIdNo;
  return (answer[0] == 'y' || answer[0] == 'Y') ? kIdYes : kIdNo;
}

unsigned SystemPlatform::windowsMajorVersion() {
  // The Linux build behaves like the launcher on Vista or later.
  return kVistaMajorVersion;
}

unsigned SystemPlatform::processId() { return static_cast<unsigned>(getpid()); }

bool SystemPlatform::setEnv(const std::string& name, const std::string& value) {
  return ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

std::string SystemPlatform::currentDirectory() {
  return posix::currentDirectory();
}

bool SystemPlatform::changeDirectory(const std::string& path) {
  return chdir(withForwardSlashes(path).c_str()) == 0;
}

bool SystemPlatform::pathExists(const std::string& path) {
  return access(withForwardSlashes(path).c_str(), F_OK) == 0;
}

bool SystemPlatform::readFile(const std::string& path, std::string* contents,
                              std::string* error) {
  std::FILE* file = std::fopen(withForwardSlashes(path).c_str(), "rb");
  if (!file) {
    *error = std::strerror(errno);
    return false;
  }
  // fopen opens a directory for reading here; Windows refuses it. Either
  // way it is a file that cannot be read.
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    *error = std::strerror(EISDIR);
    return false;
  }
  return readToEnd(file, contents, error);
}

bool SystemPlatform::writeFile(const std::string& path,
                               const std::string& contents, bool) {
  // POSIX text mode and binary mode are the same.
  return writeWhole(withForwardSlashes(path), "wb", contents);
}

std::string SystemPlatform::narrowUtf16(const std::u16string& text,
                                        bool* replaced) {
  // The code page here is UTF-8.
  return utf16ToUtf8(text, replaced);
}

bool SystemPlatform::codePageIsUtf8() { return true; }

PathStyle SystemPlatform::pathStyle() { return PathStyle::kPosix; }

char SystemPlatform::pathListSeparator() { return ':'; }

}  // namespace zindle
