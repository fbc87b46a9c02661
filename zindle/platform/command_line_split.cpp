// Splitting a Windows command line the way the Microsoft C runtime does.
#include "platform/command_line_split.h"

#include <cstring>

namespace zindle {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t'; }

// The end of the run of ordinary characters from `from` on: a backslash or
// a quote, and outside quotes a blank or a tab. A command line can hold
// hundreds of kilobytes; strcspn looks at many bytes at once. It also stops
// at a NUL, which is an ordinary character here.
std::size_t runEnd(const std::string& text, std::size_t from, bool inQuote) {
  const char* ends = inQuote ? "\\\"" : "\\\" \t";
  std::size_t end = from;
  for (;;) {
    end += std::strcspn(text.c_str() + end, ends);
    if (end >= text.size() || text[end] != '\0') return end;
    ++end;
  }
}

}  // namespace

SplitArguments splitArguments(const std::string& commandLine) {
  SplitArguments args;
  std::string& arg = args.text;
  arg.reserve(commandLine.size() + 1);
  const std::size_t n = commandLine.size();
  std::size_t i = 0;

  // The program name: quotes group and are dropped, backslashes are plain.
  while (i < n && isSeparator(commandLine[i])) ++i;
  if (i == n) return args;
  args.starts.push_back(0);
  bool inQuote = false;
  for (; i < n && (inQuote || !isSeparator(commandLine[i])); ++i) {
    if (commandLine[i] == '"')
      inQuote = !inQuote;
    else
      arg += commandLine[i];
  }
  arg += '\0';

  // The arguments. Runs of ordinary characters are taken whole.
  for (;;) {
    while (i < n && isSeparator(commandLine[i])) ++i;
    if (i == n) break;
    args.starts.push_back(arg.size());
    inQuote = false;
    while (i < n) {
      const std::size_t run = runEnd(commandLine, i, inQuote);
      arg.append(commandLine.data() + i, run - i);
      i = run;
      if (i == n || (!inQuote && isSeparator(commandLine[i]))) break;
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
    }
    arg += '\0';
  }
  return args;
}

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
  SplitArguments split = splitArguments(commandLine);
  std::vector<std::string> args;
  for (std::size_t i = 0; i < split.size(); ++i) {
    const std::size_t end =
        i + 1 < split.size() ? split.starts[i + 1] - 1 : split.text.size() - 1;
    args.emplace_back(split.text, split.starts[i], end - split.starts[i]);
  }
  return args;
}

}  // namespace zindle
