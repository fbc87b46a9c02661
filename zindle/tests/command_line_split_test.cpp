// Splitting a command line by the Microsoft C runtime's rules.
#include "platform/command_line_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zindle {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheRuntimeRules) {
  struct Case {
    const char* line;
    Args args;
  } cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"java", {"java"}},
      {"  java  a\tb  ", {"java", "a", "b"}},
      // The program name: quotes group, backslashes are plain.
      {"\"C:\\Program Files\\j\\bin\\javaw.exe\" x",
       {"C:\\Program Files\\j\\bin\\javaw.exe", "x"}},
      {"C:\\a\\\"b c\"\\d.exe x", {"C:\\a\\b c\\d.exe", "x"}},
      {"C:\\dir\\ x", {"C:\\dir\\", "x"}},
      // Arguments.
      {"p \"a b\" c", {"p", "a b", "c"}},
      {"p a\"b c\"d", {"p", "ab cd"}},
      {"p \"\"", {"p", ""}},
      {"p \"\" \"\"", {"p", "", ""}},
      {"p a\\\\b", {"p", "a\\\\b"}},        // no quote: plain backslashes
      {"p a\\\"b", {"p", "a\"b"}},          // \" is a quote
      {"p a\\\\\"b c\"", {"p", "a\\b c"}},  // \\" is \ and a group
      {"p a\\\\\\\"b", {"p", "a\\\"b"}},    // \\\" is \ and a quote
      {"p \"a\\\\\"", {"p", "a\\"}},        // a trailing \ in quotes
      {"p \"C:\\dir\\\\\" x", {"p", "C:\\dir\\", "x"}},
      {"p \"a\"\"b\" c", {"p", "a\"b", "c"}},  // "" inside quotes
      {"p \"a\"\"\"", {"p", "a\""}},
      {"p \"unterminated x", {"p", "unterminated x"}},
      {"p \"a b\"\"", {"p", "a b\""}},
      // What a doubled pair of quotes does to a class path.
      {"j -classpath \"\"C:/Program Files/Model/lib\"/*\" M",
       {"j", "-classpath", "C:/Program", "Files/Model/lib/*", "M"}},
      {"j \"\"a b\"\"", {"j", "a", "b"}},
      {"j -classpath \"C:/Program Files/Model/lib/*\" M",
       {"j", "-classpath", "C:/Program Files/Model/lib/*", "M"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(splitCommandLine(c.line), c.args) << "[" << c.line << "]";
}

}  // namespace
}  // namespace zindle
