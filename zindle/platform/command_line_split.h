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

}  // namespace zindle
