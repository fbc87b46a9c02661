// What the POSIX and Win32 platforms share: both reach files, the standard
// streams and the environment table through the C runtime library.
#pragma once

#include <cstdio>
#include <string>
#include <unordered_map>

namespace zindle {

// Values by their name with ASCII letters in lower case, so that a lookup
// ignores case; of names that differ only in case the first one counts.
using EnvironmentTable = std::unordered_map<std::string, std::string>;

// The NAME=VALUE entries of a runtime environment block; entries without
// "=" and those beginning with "=" (per-drive directories) are left out.
EnvironmentTable copyEnvironment(char** entries);

// Looks `name` up without regard to case.
bool lookupIgnoringCase(const EnvironmentTable& table, const std::string& name,
                        std::string* value);

// Reads an open file to its end and closes it; on a read error sets *error
// to the runtime's text for it.
bool readToEnd(std::FILE* file, std::string* contents, std::string* error);

// Creates or replaces `path` (opened with fopen `mode`) with `contents`.
bool writeWhole(const std::string& path, const char* mode,
                const std::string& contents);

// Writes all of `text` to `stream` and flushes it.
void writeAll(std::FILE* stream, const std::string& text);

}  // namespace zindle
