#include "platform/c_runtime.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/system_platform.h"
#include "text.h"

namespace zindle {

EnvironmentTable copyEnvironment(char** entries) {
  EnvironmentTable table;
  for (char** entry = entries; entry && *entry; ++entry) {
    const char* text = *entry;
    if (text[0] == '=') continue;
    const char* equals = std::strchr(text, '=');
    if (!equals) continue;
    table.emplace(asciiLower(std::string(text, equals)),
                  std::string(equals + 1));
  }
  return table;
}

bool lookupIgnoringCase(const EnvironmentTable& table, const std::string& name,
                        std::string* value) {
  auto found = table.find(asciiLower(name));
  if (found == table.end()) return false;
  *value = found->second;
  return true;
}

bool readToEnd(std::FILE* file, std::string* contents, std::string* error) {
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

bool writeWhole(const std::string& path, const char* mode,
                const std::string& contents) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) return false;
  std::fwrite(contents.data(), 1, contents.size(), file);
  std::fflush(file);
  std::fclose(file);
  return true;
}

void writeAll(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

// The members of SystemPlatform that both systems take from the C runtime.

std::int64_t SystemPlatform::calendarSeconds() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

bool SystemPlatform::lookupStartupEnv(const std::string& name,
                                      std::string* value) {
  return lookupIgnoringCase(startupEnv_, name, value);
}

void SystemPlatform::writeStdout(const std::string& text) {
  writeAll(stdout, text);
}

void SystemPlatform::writeStderr(const std::string& text) {
  writeAll(stderr, text);
}

}  // namespace zindle
