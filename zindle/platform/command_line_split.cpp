// Splitting a Windows command line the way the Microsoft C runtime does.
#include "platform/command_line_split.h"

namespace zindle {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  const std::size_t n = commandLine.size();
  std::size_t i = 0;

  // The program name: quotes group and are dropped, backslashes are plain.
  while (i < n && isSeparator(commandLine[i])) ++i;
  if (i == n) return args;
  std::string program;
  bool inQuote = false;
  for (; i < n && (inQuote || !isSeparator(commandLine[i])); ++i) {
    if (commandLine[i] == '"')
      inQuote = !inQuote;
    else
      program += commandLine[i];
  }
  args.push_back(program);

  // The arguments.
  for (;;) {
    while (i < n && isSeparator(commandLine[i])) ++i;
    if (i == n) break;
    std::string arg;
    inQuote = false;
    while (i < n) {
      std::size_t slashes = 0;
      while (i < n && commandLine[i] == '\\') {
        ++slashes;
        ++i;
      }
      if (i < n && commandLine[i] == '"') {
        arg.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          arg += '"';  // \" is a literal quote
        } else if (inQuote && i + 1 < n && commandLine[i + 1] == '"') {
          arg += '"';  // "" inside quotes is a literal quote
          ++i;
        } else {
          inQuote = !inQuote;
        }
        ++i;
        continue;
      }
      arg.append(slashes, '\\');
      if (i == n || (!inQuote && isSeparator(commandLine[i]))) break;
      arg += commandLine[i];
      ++i;
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace zindle
