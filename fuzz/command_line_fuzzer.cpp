// Command-line composition round-tripped through the command-line splitter.
//
// Input: flag byte (1 Vista or later, 2 no main class), then sections
// separated by 0xFF: the Java path, the vm parameters, the class-path
// entries, the main class and the program arguments (lists one a line), and
// a free text that is split as it stands.
//
// Where no text holds a double quote or a tab, the vm parameters have no
// blank and no quoted piece ends in a backslash (which would escape the
// closing quote), splitting the composed line gives back exactly the pieces
// that were composed. Independently, any argument list quoted by the
// documented rules must split back into itself.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config_reader.h"
#include "fake_platform.h"
#include "fuzz_input.h"
#include "launch_step.h"
#include "platform/command_line_split.h"

namespace {

using zindle::fuzz::fail;

std::vector<std::string> lines(const zindle::fuzz::Input& in, std::size_t i) {
  if (in.section(i).empty()) return {};
  return zindle::fuzz::splitLines(in.section(i));
}

bool has(const std::string& text, const char* chars) {
  return text.find_first_of(chars) != std::string::npos;
}

std::string show(const std::vector<std::string>& args) {
  std::string s;
  for (const std::string& a : args) s += "[" + a + "]";
  return s;
}

// The pieces the composed line must split into, or none when a precondition
// of the round trip does not hold.
std::optional<std::vector<std::string>> expectedPieces(
    const zindle::LaunchSettings& s) {
  std::vector<std::string> out;
  const auto plain = [&out](const std::string& t) {
    if (has(t, "\" \t")) return false;
    if (!t.empty()) out.push_back(t);
    return true;
  };
  const auto quoted = [&out](const std::string& t) {
    if (has(t, "\"\t") || (!t.empty() && t.back() == '\\')) return false;
    out.push_back(t);
    return true;
  };
  if (!plain(*s.javaPath) || s.javaPath->empty()) return std::nullopt;
  for (const std::string& p : s.vmParams)
    if (!plain(p)) return std::nullopt;
  out.push_back("-classpath");
  std::string joined;
  bool blank = false;
  for (std::size_t i = 0; i < s.classPath.size(); ++i) {
    if (i) joined += ';';
    joined += s.classPath[i];
    blank = blank || has(s.classPath[i], " ");
  }
  if (!(blank ? quoted(joined) : plain(joined))) return std::nullopt;
  if (s.mainClass && !plain(*s.mainClass)) return std::nullopt;
  for (const std::string& a : s.programArgs) {
    bool q = s.isVistaOrLater || has(a, " ");
    if (!(q ? quoted(a) : plain(a))) return std::nullopt;
  }
  for (const std::string& t : out)
    if (t.find('\0') != std::string::npos) return std::nullopt;
  return out;
}

// Quotes one argument so that the C runtime's rules give it back: backslashes
// are doubled only where they come before a quote, and quotes are escaped.
std::string quoteArgument(const std::string& arg) {
  std::string q = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      q.append(backslashes * 2 + 1, '\\');
      q += '"';
    } else {
      q.append(backslashes, '\\');
      q += c;
    }
    backslashes = 0;
  }
  q.append(backslashes * 2, '\\');
  q += '"';
  return q;
}

void checkQuotedRoundTrip(const std::vector<std::string>& args) {
  std::vector<std::string> expected{"prog"};
  std::string line = "prog";
  for (const std::string& a : args) {
    if (a.find('\0') != std::string::npos) return;
    expected.push_back(a);
    line += " " + quoteArgument(a);
  }
  std::vector<std::string> got = zindle::splitCommandLine(line);
  if (got != expected)
    fail("quoted arguments did not split back",
         line + "\nexpected " + show(expected) + "\ngot " + show(got));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  zindle::fuzz::Input in = zindle::fuzz::splitInput(data, size);
  zindle::testing::FakePlatform os;
  zindle::Launcher launcher(os);
  zindle::LaunchSettings& s = launcher.settings;
  s.isVistaOrLater = (in.flags & 1) != 0;
  s.javaPath = in.section(0);
  s.vmParams = lines(in, 1);
  s.classPath = lines(in, 2);
  if (!(in.flags & 2)) s.mainClass = in.section(3);
  s.programArgs = lines(in, 4);

  std::string composed = zindle::composeCommandLine(launcher);
  std::vector<std::string> pieces = zindle::splitCommandLine(composed);
  if (std::optional<std::vector<std::string>> expected = expectedPieces(s)) {
    if (pieces != *expected)
      fail(
          "composed line did not split back",
          composed + "\nexpected " + show(*expected) + "\ngot " + show(pieces));
  }

  checkQuotedRoundTrip(s.programArgs);
  if (zindle::splitCommandLine(in.section(5)) !=
      zindle::splitCommandLine(in.section(5)))
    fail("splitting is not repeatable", in.section(5));
  return 0;
}
