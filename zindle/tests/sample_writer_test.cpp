// The "-sample" template and the version record.
#include "sample_writer.h"

#include <cctype>
#include <string>
#include <vector>

#include "launcher_fixture.h"
#include "version.h"

namespace zindle::testing {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// Checks `text` against `form`, in which '9' stands for a digit, 'A' for an
// upper-case and 'a' for a lower-case letter, '_' for a blank or a digit, and
// every other character for itself.
bool matchesForm(const std::string& text, const std::string& form) {
  if (text.size() != form.size()) return false;
  for (std::size_t i = 0; i < form.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    switch (form[i]) {
      case '9':
        if (!std::isdigit(c)) return false;
        break;
      case 'A':
        if (!std::isupper(c)) return false;
        break;
      case 'a':
        if (!std::islower(c)) return false;
        break;
      case '_':
        if (c != ' ' && !std::isdigit(c)) return false;
        break;
      default:
        if (text[i] != form[i]) return false;
    }
  }
  return true;
}

TEST(VersionRecord, Format) {
  const std::string record = versionRecord();
  const std::string head =
      std::string("@(#)zindle/zindle.cpp Version: ") + kVersion + " ";
  ASSERT_EQ(record.substr(0, head.size()), head);
  std::size_t compiled = record.find(" Compiled: ", head.size());
  ASSERT_NE(compiled, std::string::npos);
  EXPECT_GT(compiled, head.size());  // a tag between the two
  EXPECT_TRUE(
      matchesForm(record.substr(compiled + 11), "Aaa _9 9999 at 99:99:99"))
      << record;
}

TEST(SampleConfig, FortyThreeLinesWithCrLf) {
  const std::string text = sampleConfigText();
  auto lines = linesOf(text);
  ASSERT_EQ(lines.size(), 43u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  // Every LF belongs to a CR LF pair.
  std::size_t lf = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    ++lf;
    EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
  }
  EXPECT_EQ(lf, 43u);
  EXPECT_EQ(lines[0], "#Created with version " + versionRecord());
  const std::vector<std::pair<int, const char*>> spotChecks = {
      {2, ""},
      {3, "# Remove the '#' to uncomment a line"},
      {5,
       "# Rename this file to the same name as the .exe (if test.exe then "
       "rename to text.config"},
      {8, "#mainclass <main class>"},
      {14, "#addjars <folder>"},
      {22,
       "#javapath <absolute or relative path to java or just 'java' or "
       "'javaw'>"},
      {25, "#showConsole true"},
      {26, "# To set the Console Title (used with 'showConsole true'), use"},
      {32,
       "# To add an argument that's passed to the JVM on the command line, "
       "use:"},
      {36, "#javaVersion <java version>"},
      {39, ""},
      {43, "#outputFile <output file>"},
  };
  for (const auto& [number, expected] : spotChecks)
    EXPECT_EQ(lines[number - 1], expected) << "line " << number;
  int empty = 0;
  for (const auto& line : lines) empty += line.empty() ? 1 : 0;
  EXPECT_EQ(empty, 11);
  for (const auto& line : lines)
    EXPECT_TRUE(line.empty() || line[0] == '#') << line;
}

class SampleReadBack : public LauncherTest {};

TEST_F(SampleReadBack, SetsNothingAsWritten) {
  os.startupEnv["HOME"] = "C:\\Users\\ann";
  EXPECT_EQ(readText(sampleConfigText()), 0);
  EXPECT_TRUE(nothingSet(settings));
  EXPECT_TRUE(os.events.empty());
}

TEST_F(SampleReadBack, Line25UncommentedSetsShowConsole) {
  std::string text = sampleConfigText();
  std::size_t at = text.find("\r\n#showConsole true\r\n");
  ASSERT_NE(at, std::string::npos);
  text.erase(at + 2, 1);
  EXPECT_EQ(readText(text), 0);
  EXPECT_TRUE(settings.showConsole);
  settings.showConsole = false;
  EXPECT_TRUE(nothingSet(settings));
}

TEST_F(SampleReadBack, WritingTwiceLeavesTheSameFile) {
  writeSampleConfig(launcher);
  const std::string first = os.files["sample.config"];
  writeSampleConfig(launcher);
  EXPECT_EQ(os.files["sample.config"], first);
  EXPECT_EQ(first, sampleConfigText());
}

}  // namespace
}  // namespace zindle::testing
