// Command-line composition round-tripped through the command-line splitter.
//
// Input: flag byte (1 Vista or later, 2 no main class), then sections
// separated by 0xFF: the Java path, the vm parameters, the class-path
// entries, the main class and the program arguments (lists one a line), and
// a free text that is split as it stands.
//
// Every program argument not written in quotes comes back exactly, whatever
// it holds: quotes, backslashes, blanks, tabs, nothing at all. An argument
// written in quotes is passed as it stands and comes back as the runtime
// splits it alone. Where the Java path, the vm parameters, the class path
// and the main class hold no double quote or tab, the parameters no blank
// and the quoted class path does not end in a backslash, the whole line
// splits back into exactly the pieces that were composed.
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
  // Without entries there is no "-classpath". A main class with a blank
  // would keep it, but such a main class fails plain() below.
  if (!s.classPath.empty()) out.push_back("-classpath");
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
    if (a.size() >= 2 && a.front() == '"' && a.back() == '"') {
      // Written in quotes, passed as it stands: what the runtime makes of
      // it between two others, when it leaves no quote open.
      std::vector<std::string> alone =
          zindle::splitCommandLine("p " + a + " next");
      if (alone.size() != 3 || alone[2] != "next") return std::nullopt;
      out.push_back(alone[1]);
    } else {
      out.push_back(a);
    }
  }
  for (const std::string& t : out)
    if (t.find('\0') != std::string::npos) return std::nullopt;
  return out;
}

// Program arguments alone, behind a plain Java path and main class: each
// one not written in quotes must come back exactly, with no precondition.
void checkArgumentsRoundTrip(const std::vector<std::string>& args, bool vista) {
  zindle::testing::FakePlatform os;
  zindle::Launcher launcher(os);
  launcher.settings.javaPath = "java";
  launcher.settings.mainClass = "M";
  launcher.settings.isVistaOrLater = vista;
  for (const std::string& a : args) {
    if (a.find('\0') != std::string::npos) return;
    if (a.size() >= 2 && a.front() == '"' && a.back() == '"') continue;
    launcher.settings.programArgs.push_back(a);
  }
  std::string line = zindle::composeCommandLine(launcher);
  std::vector<std::string> got = zindle::splitCommandLine(line);
  std::vector<std::string> expected{"java", "M"};
  expected.insert(expected.end(), launcher.settings.programArgs.begin(),
                  launcher.settings.programArgs.end());
  if (got != expected)
    fail("program arguments did not split back",
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

  checkArgumentsRoundTrip(s.programArgs, s.isVistaOrLater);
  if (zindle::splitCommandLine(in.section(5)) !=
      zindle::splitCommandLine(in.section(5)))
    fail("splitting is not repeatable", in.section(5));
  return 0;
}
