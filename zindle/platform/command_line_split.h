// Splitting a Windows command line into arguments, by the rules the
// Microsoft C runtime applies when a program such as java.exe parses its
// command line: blanks and tabs separate arguments, double quotes group,
// 2n backslashes before a quote give n backslashes and a quote that groups,
// 2n+1 give n backslashes and a literal quote, and a doubled quote inside a
// quoted part gives a literal quote.
#pragma once

#include <string>
#include <vector>

namespace zindle {

std::vector<std::string> splitCommandLine(const std::string& commandLine);

// The same arguments as C strings in one buffer, for a caller that hands
// them on to the system: a command line of thousands of arguments is then
// split without a heap text for each.
struct SplitArguments {
  std::string text;                 // each argument followed by a NUL
  std::vector<std::size_t> starts;  // where each argument begins in text
  std::size_t size() const { return starts.size(); }
  char* operator[](std::size_t i) { return &text[starts[i]]; }
};
SplitArguments splitArguments(const std::string& commandLine);

}  // namespace zindle
