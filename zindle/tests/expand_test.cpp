// "$" expansion of configuration values.
#include <string>
#include <vector>

#include "launcher_fixture.h"

namespace zindle::testing {
namespace {

class ExpandTest : public LauncherTest {
 protected:
  void SetUp() override {
    startupEnvironment({{"APPDIR", "C:\\Program Files\\Model"},
                        {"TEMP", "C:\\Temp"},
                        {"A", "a"},
                        {"B", "b"},
                        {"DIR", "C:\\d\\"},
                        {"SLASHED", "/opt/x/"},
                        {"REF", "$B"},
                        {"SPACED", "x y"}});
  }
};

struct ExpandCase {
  const char* text;
  bool quote;
  const char* expected;
};

TEST_F(ExpandTest, Examples) {
  const std::vector<ExpandCase> cases = {
      // The documented examples.
      {"$APPDIR\\lib", true, "\"C:/Program Files/Model/lib\""},
      {"-Dlog.dir=$TEMP\\logs", true, "-Dlog.dir=C:/Temp/logs"},
      {"-Dhome=$APPDIR", true, "-Dhome=\"C:/Program Files/Model\""},
      {"-Dpid=\"$pid\"", true, "-Dpid=\"4242\""},
      {"$MAIN", false, "$MAIN"},
      {"lib\\ext", true, "lib\\ext"},
      {"-DLOGFILE=$TEMP\\app.log", true, "-DLOGFILE=C:/Temp/app.log"},
      // Empty text and a text without "$".
      {"", true, ""},
      {"a\\b/c", false, "a\\b/c"},
      // An "=" before the "$" turns quoting on.
      {"-Dhome=$APPDIR", false, "-Dhome=\"C:/Program Files/Model\""},
      // Without quoting wish and "=", a spaced value stays bare.
      {"$APPDIR", false, "C:/Program Files/Model"},
      // An "=" after the "$" places the opening quote before the value.
      {"x$APPDIR\\a=b", true, "x\"C:/Program Files/Model/a=b\""},
      {"x$APPDIR\\ab", true, "\"xC:/Program Files/Model/ab\""},
      // The span ends at the first backslash, else the first "/".
      {"$A/x\\y", false, "$A/x\\y"},
      {"$TEMP/logs", false, "C:/Temp/logs"},
      // Backslashes before and after the variable become "/".
      {"pre\\$A\\post", false, "pre/a/post"},
      // The separator is not doubled after a value that ends in one.
      {"$DIR\\x", false, "C:/d/x"},
      {"$SLASHED/lib", false, "/opt/x/lib"},
      {"$DIR", false, "C:/d/"},
      // Names match without regard to case.
      {"$temp\\x", false, "C:/Temp/x"},
      // Repeated expansion, left to right, including what a value brings.
      {"$A/$B", false, "a/b"},
      {"$REF/c", false, "b/c"},
      // An unknown name stops the expansion; earlier substitutions stay.
      {"$A/$NOPE/$B", false, "a/$NOPE/$B"},
      {"$NOPE\\x", false, "$NOPE\\x"},
      // "$" before a separator or at the end names the empty variable.
      {"$\\x", false, "$\\x"},
      {"x$", false, "x$"},
      // "pid" only in lower case.
      {"$PID", false, "$PID"},
      // A quote right before a separator or the end is put back.
      {"-Da=\"$TEMP\"\\x", true, "-Da=\"C:/Temp\"/x"},
      {"\"$A\"", false, "\"a\""},
      // Text after the closing quote within the span is kept.
      {"-Da=\"$TEMP\"tail", true, "-Da=\"C:/Temp\"tail"},
      {"-Da=\"$A\" -Db=$B", true, "-Da=\"a\" -Db=b"},
      {"-Da=\"$SPACED\" -Db=2", true, "-Da=\"\"x y\" -Db=2\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expandVariables(launcher, c.text, c.quote), c.expected)
        << "text: " << c.text << " quote: " << c.quote;
  }
  EXPECT_TRUE(os.boxes().empty());
}

TEST_F(ExpandTest, StartupVariableWinsOverProcessIdAndSetEnvIsNotSeen) {
  os.startupEnv["Pid"] = "77";
  EXPECT_EQ(expandVariables(launcher, "$pid", false), "77");
  os.setEnv("LATER", "x");
  EXPECT_EQ(expandVariables(launcher, "$LATER", false), "$LATER");
}

// "appdir" in lower case names the start folder, unless a variable of that
// name exists in any case.
TEST(ExpandAppdir, StartFolderUnlessAVariableHasThatName) {
  struct Case {
    const char* variable;  // AppDir=D:\x in the environment, or nullptr
    const char* text;
    bool quote;
    const char* expected;
  } cases[] = {
      {nullptr, "$appdir\\lib", true, "\"C:/Apps/My Model/lib\""},
      {nullptr, "-Dhome=$appdir", true, "-Dhome=\"C:/Apps/My Model\""},
      {nullptr, "$appdir/lib/*", false, "C:/Apps/My Model/lib/*"},
      {nullptr, "$APPDIR\\lib", true, "$APPDIR\\lib"},
      {nullptr, "$AppDir", false, "$AppDir"},
      {"AppDir", "$appdir\\lib", true, "D:/x/lib"},
  };
  for (const Case& c : cases) {
    FakePlatform os;
    if (c.variable) os.startupEnv[c.variable] = "D:\\x";
    Launcher launcher(os);
    launcher.settings.startDir = "C:\\Apps\\My Model";
    EXPECT_EQ(expandVariables(launcher, c.text, c.quote), c.expected) << c.text;
  }
}

TEST_F(ExpandTest, DebugBoxesInOrder) {
  settings.debug = true;
  expandVariables(launcher, "$TEMP\\logs", true);
  expandVariables(launcher, "$MAIN", false);
  EXPECT_EQ(os.boxes(),
            (std::vector<std::string>{
                "Found variable|TEMP",
                "Parse Path|arg [$TEMP\\logs] expanded to [C:\\Temp\\logs]\n",
                "Found variable|MAIN",
                "Can't find variable|MAIN",
            }));
}

TEST_F(ExpandTest, ValueThatBringsBackItsOwnNameEnds) {
  os.startupEnv["SELF"] = "$SELF";
  EXPECT_EQ(expandVariables(launcher, "$SELF", false), "$SELF");
  os.startupEnv["GROW"] = "ab$GROW";
  std::string grown = expandVariables(launcher, "$GROW", false);
  EXPECT_LE(grown.size(), kMaxExpandedChars);
  EXPECT_EQ(grown.substr(0, 4), "abab");
}

TEST_F(ExpandTest, BoundOnSubstitutionsShowsADebugBox) {
  settings.debug = true;
  os.startupEnv["SELF"] = "$SELF";
  expandVariables(launcher, "$SELF", false);
  auto boxes = os.boxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back(), "Expansion stopped|$SELF");
  EXPECT_EQ(static_cast<int>(os.eventsOf("box").size()),
            2 * kMaxSubstitutions + 1);
}

TEST_F(ExpandTest, ManyDistinctSubstitutionsWithinTheBound) {
  std::string text;
  std::string expected;
  for (int i = 0; i < kMaxSubstitutions; ++i) {
    text += "$A/";
    expected += "a/";
  }
  EXPECT_EQ(expandVariables(launcher, text, false), expected);
}

TEST_F(ExpandTest, LongResultIsCut) {
  os.startupEnv["LONG"] = std::string(3000, 'x');
  const std::string text = std::string(1000, 'p') + "$LONG";
  std::string result = expandVariables(launcher, text, false);
  EXPECT_EQ(result, std::string(1000, 'p') + std::string(1047, 'x'));
  // The debug text is cut to its own buffer as well.
  settings.debug = true;
  expandVariables(launcher, text, false);
  auto boxes = os.eventsOf("box");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].caption, "Parse Path");
  EXPECT_EQ(boxes[1].text.size(), kParsePathBufferSize - 1);
}

TEST_F(ExpandTest, NamesLongerThanTheNameBufferAreNotLookedUp) {
  std::string fits(kMaxVariableNameChars, 'N');
  std::string tooLong(kMaxVariableNameChars + 1, 'N');
  os.startupEnv[fits] = "fits";
  os.startupEnv[tooLong] = "too long";
  EXPECT_EQ(expandVariables(launcher, "$" + fits, false), "fits");
  EXPECT_EQ(expandVariables(launcher, "$" + tooLong, false), "$" + tooLong);
  settings.debug = true;
  expandVariables(launcher, "$" + tooLong, false);
  auto boxes = os.eventsOf("box");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].caption, "Can't find variable");
  EXPECT_EQ(boxes[1].text.size(), kMaxVariableNameChars);
}

TEST_F(ExpandTest, ToForwardSlashesAndAddJarFolder) {
  std::string text = "a\\b\\\\c/d";
  toForwardSlashes(text);
  EXPECT_EQ(text, "a/b//c/d");
  addJarFolder(launcher, "lib");
  EXPECT_EQ(settings.classPath, std::vector<std::string>{"lib/*"});
}

}  // namespace
}  // namespace zindle::testing
