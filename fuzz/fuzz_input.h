// Shared shapes of the launcher fuzz inputs.
//
// An input is a flag byte followed by sections separated by the byte 0xFF,
// which never appears in the configuration texts the seeds hold, so a seed
// stays readable and a mutation of one section leaves the others in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "text.h"

namespace zindle::fuzz {

struct Input {
  std::uint8_t flags = 0;
  std::vector<std::string> sections;

  // Section i, or empty when the input has fewer.
  const std::string& section(std::size_t i) const {
    static const std::string kNone;
    return i < sections.size() ? sections[i] : kNone;
  }
};

inline Input splitInput(const std::uint8_t* data, std::size_t size) {
  Input in;
  if (size == 0) return in;
  in.flags = data[0];
  std::string current;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == 0xFF) {
      in.sections.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  in.sections.push_back(current);
  return in;
}

inline std::vector<std::string> splitLines(const std::string& text) {
  return splitAt(text, '\n');
}

// "NAME=VALUE" lines become the environment the process started with; a
// line without "=" defines its text as an empty variable.
inline void loadEnvironment(testing::FakePlatform& os,
                            const std::string& text) {
  for (const std::string& line : splitLines(text)) {
    if (line.empty()) continue;
    std::size_t equals = line.find('=');
    if (equals == std::string::npos)
      os.startupEnv[line] = "";
    else
      os.startupEnv[line.substr(0, equals)] = line.substr(equals + 1);
  }
}

// A property the launcher must keep did not hold: report and abort so that
// libFuzzer records the input like any other crash.
[[noreturn]] inline void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "property violated: %s\n%s\n", what, detail.c_str());
  std::abort();
}

// More file reads than any input of a few kilobytes can ask for without
// includes that multiply: a file that includes itself twice, or a chain of
// files that each include the next twice, doubles the work at every level,
// and a bound on nesting alone leaves 2^depth reads.
constexpr long kReadBudget = 100000;

class CountingPlatform : public testing::FakePlatform {
 public:
  long reads = 0;
  bool readFile(const std::string& path, std::string* contents,
                std::string* error) override {
    if (++reads > kReadBudget)
      fail("include fan-out is unbounded",
           std::to_string(reads) + " file reads for one input");
    return FakePlatform::readFile(path, contents, error);
  }
};

}  // namespace zindle::fuzz
