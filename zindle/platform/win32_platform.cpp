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

bool SystemPlatform::programExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
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

std::string SystemPlatform::narrowUtf16(const std::u16string& text,
                                        bool* replaced) {
  // The ANSI code page, as the rest of the launcher works in it. A "best
  // fit" would turn characters into look-alikes without a word (Ł into L,
  // a fullwidth quotation mark into a real one): each character the code
  // page lacks becomes its default character instead, and is reported.
  // UTF-8 loses nothing, and the conversion refuses both the flag and the
  // report for it.
  *replaced = false;
  if (text.empty()) return std::string();
  const bool utf8 = codePageIsUtf8();
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  int size = WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0,
                                 nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string narrow(static_cast<std::size_t>(size), '\0');
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, flags, wide, length, &narrow[0], size, nullptr,
                      utf8 ? nullptr : &usedDefault);
  *replaced = usedDefault != FALSE;
  return narrow;
}

bool SystemPlatform::codePageIsUtf8() { return GetACP() == CP_UTF8; }

PathStyle SystemPlatform::pathStyle() { return PathStyle::kWindows; }

char SystemPlatform::pathListSeparator() { return ';'; }

}  // namespace zindle
