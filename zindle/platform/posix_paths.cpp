#include "platform/posix_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zindle::posix {

bool isExecutableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

std::string currentDirectory() {
  std::string buffer(4096, '\0');
  while (!getcwd(&buffer[0], buffer.size())) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

std::string findOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  const char* entry = path;
  for (;;) {
    const char* end = std::strchr(entry, ':');
    std::string dir(entry, end ? end : entry + std::strlen(entry));
    // A final ":" adds no entry.
    if (dir.empty() && end == nullptr) return {};
    if (dir.empty()) dir = currentDirectory();
    std::string candidate = dir + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    if (end == nullptr) return {};
    entry = end + 1;
  }
}

}  // namespace zindle::posix
