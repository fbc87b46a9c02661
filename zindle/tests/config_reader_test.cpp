// Reading configuration files: lines, directives, includes, setenv, errors
// and bounds.
#include <string>
#include <vector>

#include "launcher_fixture.h"

namespace zindle::testing {
namespace {

using Strings = std::vector<std::string>;

class ConfigReaderTest : public LauncherTest {
 protected:
  void SetUp() override {
    startupEnvironment({{"APPDIR", "C:\\Program Files\\Model"},
                        {"TEMP", "C:\\Temp"},
                        {"USERNAME", "ann"},
                        {"HOME", "C:\\Users\\ann"}});
  }
};

// One directive line and where its value lands.
struct DirectiveCase {
  const char* line;
  const char* field;
  const char* expected;
};

std::string fieldOf(const LaunchSettings& s, const std::string& field) {
  auto text = [](const std::optional<std::string>& t) {
    return t ? *t : std::string("<unset>");
  };
  auto joined = [](const Strings& list) {
    std::string r;
    for (const auto& e : list) r += (r.empty() ? "" : "|") + e;
    return r;
  };
  if (field == "vmParams") return joined(s.vmParams);
  if (field == "classPath") return joined(s.classPath);
  if (field == "programArgs") return joined(s.programArgs);
  if (field == "javaPath") return text(s.javaPath);
  if (field == "mainClass") return text(s.mainClass);
  if (field == "appName") return text(s.appName);
  if (field == "consoleTitle") return text(s.consoleTitle);
  if (field == "workingDir") return text(s.workingDir);
  if (field == "outputFile") return text(s.outputFile);
  if (field == "logFile") return text(s.logFile);
  if (field == "showConsole") return s.showConsole ? "on" : "off";
  return "<no such field>";
}

TEST_F(ConfigReaderTest, Directives) {
  const std::vector<DirectiveCase> cases = {
      {"vmparam -Xmx256m", "vmParams", "-Xmx256m"},
      {"vmparam -Dhome=$APPDIR", "vmParams",
       "-Dhome=\"C:/Program Files/Model\""},
      {"vmparamX -Dx=1", "vmParams", "-Dx=1"},
      {"vmparam -DLOGFILE=$TEMP\\app.log", "vmParams",
       "-DLOGFILE=C:/Temp/app.log"},
      {"vmparam -DLOGFILE=$TEMP\\app.log", "logFile", "C:/Temp/app.log"},
      {"vmparam -DLOGFILE", "logFile", ""},
      {"vmparam -DLOGFILE=", "logFile", ""},
      {"vmparam -DLOGFILE:x.log", "logFile", "x.log"},
      {"vmparam -Dother=1", "logFile", "<unset>"},
      {"javapath $APPDIR\\jre\\bin\\java.exe", "javaPath",
       "\"C:/Program Files/Model/jre/bin/java.exe\""},
      {"addpath $APPDIR\\lib", "classPath", "\"C:/Program Files/Model/lib\""},
      {"addpath lib\\ext", "classPath", "lib\\ext"},
      {"mainclass qel.Main", "mainClass", "qel.Main"},
      {"mainclass $APPDIR", "mainClass", "C:/Program Files/Model"},
      {"mainclass $MAIN", "mainClass", "$MAIN"},
      {"appname $USERNAME", "appName", "ann"},
      {"appname Model  two ", "appName", "Model  two "},
      {"addjars $APPDIR\\lib", "classPath", "\"C:/Program Files/Model/lib\"/*"},
      {"addjars lib", "classPath", "lib/*"},
      {"addjar lib\\a.jar", "classPath", "lib\\a.jar"},
      {"argument $HOME", "programArgs", "$HOME"},
      {"argument  two words ", "programArgs", " two words "},
      {"consoleTitle $APPDIR", "consoleTitle", "\"C:/Program Files/Model\""},
      {"workingDir $TEMP\\work", "workingDir", "C:/Temp/work"},
      {"outputFile $TEMP\\out.txt", "outputFile", "C:/Temp/out.txt"},
      {"showConsole true", "showConsole", "on"},
      {"showConsole TRUE", "showConsole", "on"},
      {"showConsole trueish", "showConsole", "on"},
      {"showConsole True", "showConsole", "off"},
      {"showConsole false", "showConsole", "off"},
      // Lines that match nothing.
      {"mainclass\tqel.Main", "mainClass", "<unset>"},
      {" mainclass qel.Main", "mainClass", "<unset>"},
      {"\tmainclass qel.Main", "mainClass", "<unset>"},
      {"Mainclass qel.Main", "mainClass", "<unset>"},
      {"#mainclass qel.Main", "mainClass", "<unset>"},
      {"/mainclass qel.Main", "mainClass", "<unset>"},
      {"mainclass", "mainClass", "<unset>"},
  };
  for (const auto& c : cases) {
    FakePlatform fresh;
    fresh.startupEnv = os.startupEnv;
    Launcher l(fresh);
    fresh.files["x.config"] = std::string(c.line) + "\n";
    EXPECT_EQ(readConfigFile(l, "x.config").code, 0) << c.line;
    EXPECT_EQ(fieldOf(l.settings, c.field), c.expected) << c.line;
  }
}

TEST_F(ConfigReaderTest, SingleValuedTakeTheLastAndListsKeepOrder) {
  EXPECT_EQ(readText("mainclass First\nmainclass Second\n"
                     "addjar a.jar\naddjars lib\naddpath classes\n"
                     "argument x\nargument y\n"),
            0);
  EXPECT_EQ(settings.mainClass, "Second");
  EXPECT_EQ(settings.classPath, (Strings{"a.jar", "lib/*", "classes"}));
  EXPECT_EQ(settings.programArgs, (Strings{"x", "y"}));
}

TEST_F(ConfigReaderTest, ConfigEntriesFollowCommandLineEntries) {
  settings.vmParams.push_back("-Dx=1");
  settings.programArgs.push_back("cli");
  readText("vmparam -Dy=2\nargument file\n");
  EXPECT_EQ(settings.vmParams, (Strings{"-Dx=1", "-Dy=2"}));
  EXPECT_EQ(settings.programArgs, (Strings{"cli", "file"}));
}

TEST_F(ConfigReaderTest, LineEnds) {
  // The last line keeps its last character without a final line feed.
  readText("appname first\nmainclass qel.Main");
  EXPECT_EQ(settings.mainClass, "qel.Main");
  EXPECT_EQ(settings.appName, "first");
  // CR LF reads as LF; a CR on its own stays.
  readText("mainclass crlf\r\nappname a\rb\r\nworkingDir w\r");
  EXPECT_EQ(settings.mainClass, "crlf");
  EXPECT_EQ(settings.appName, "a\rb");
  EXPECT_EQ(settings.workingDir, "w\r");
  // Ctrl-Z ends the file, as in text mode.
  readText(std::string("appname z\r\n\x1a") + "mainclass after.EndOfFile\n");
  EXPECT_EQ(settings.appName, "z");
  EXPECT_EQ(settings.mainClass, "crlf");
}

TEST_F(ConfigReaderTest, LongLinesAreTakenInPiecesOf2047) {
  // First piece: "mainclass " and 2037 characters; the second piece is a
  // line of its own.
  std::string value(kMaxLineChars - 10, 'a');
  readText("mainclass " + value + "appname X\n");
  EXPECT_EQ(settings.mainClass, value);
  EXPECT_EQ(settings.appName, "X");

  // Exactly 2047 characters and a line feed: the value keeps its last
  // character, and the line feed alone is a blank line.
  std::string exact(kMaxLineChars - 8, 'b');
  readText("appname " + exact + "\nargument next\n");
  EXPECT_EQ(settings.appName, exact);
  EXPECT_EQ(settings.programArgs, Strings{"next"});

  const std::string unbroken(5000, 'c');
  ConfigLines lines(unbroken);
  std::vector<std::size_t> sizes;
  for (std::string_view piece; lines.next(&piece);)
    sizes.push_back(piece.size());
  EXPECT_EQ(sizes, (std::vector<std::size_t>{2047, 2047, 906}));
}

// Each line past the limit is named once on standard error, in every mode,
// and in a box in debug mode.
TEST_F(ConfigReaderTest, ALongLineIsReportedOncePerLine) {
  const std::string tail =
      ": longer than 2047 characters; the rest is read as lines of their own";
  const std::string file = "C:\\start\\app.config:";
  struct Case {
    std::string text;
    bool debug;
    std::string err;
  } cases[] = {
      {"appname a\naddpath " + std::string(2760, 'p') + "\nmainclass M\n",
       false, file + "2" + tail + "\n"},
      {std::string(5000, 'c'), false, file + "1" + tail + "\n"},
      {std::string(kMaxLineChars, 'e') + "\nappname b\n", false, ""},
      {std::string(3000, 'x') + "\r\n\r\n" + std::string(2048, 'y') + "\r\n",
       true, file + "1" + tail + "\n" + file + "3" + tail + "\n"},
  };
  for (const Case& c : cases) {
    FakePlatform fresh;
    Launcher l(fresh);
    l.settings.debug = c.debug;
    fresh.files["C:\\start\\app.config"] = c.text;
    readConfigFile(l, "C:\\start\\app.config");
    EXPECT_EQ(fresh.err, c.err) << c.text.size();
    std::string shown;
    for (const auto& box : fresh.eventsOf("box"))
      if (box.caption == "Line Too Long") shown += box.text + "\n";
    EXPECT_EQ(shown, c.debug ? c.err : "") << c.text.size();
  }
}

// `text` (ASCII or UTF-8 of the Basic Multilingual Plane) as UTF-16 with its
// byte-order mark.
std::string utf16(const std::string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned c = static_cast<unsigned char>(text[i]);
    if (c >= 0xE0) {
      c = (c & 0x0F) << 12 | (text[i + 1] & 0x3F) << 6 | (text[i + 2] & 0x3F);
      i += 2;
    } else if (c >= 0xC0) {
      c = (c & 0x1F) << 6 | (text[i + 1] & 0x3F);
      i += 1;
    }
    char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST_F(ConfigReaderTest, FilesFromWindowsEditorsReadAsTheirAnsiTwin) {
  const std::string main =
      "mainclass qel.Main\r\ninclude inc.config\r\nargument caf\xC3\xA9 "
      "\xE2\x82\xAC\r\n";
  const std::string inc = "addjar $TEMP\\a.jar\r\nappname Inner\r\n";
  struct Case {
    const char* what;
    std::string main, inc;
  } cases[] = {
      {"no mark", main, inc},
      {"UTF-8 marks", "\xEF\xBB\xBF" + main, "\xEF\xBB\xBF" + inc},
      {"UTF-16 LE", utf16(main, false), utf16(inc, false)},
      {"UTF-16 BE", utf16(main, true), utf16(inc, true)},
  };
  LaunchSettings twin;
  for (const Case& c : cases) {
    FakePlatform fresh;
    fresh.startupEnv = os.startupEnv;
    fresh.files["inc.config"] = c.inc;
    fresh.files["x.config"] = c.main;
    Launcher l(fresh);
    l.settings.debug = true;
    EXPECT_EQ(readConfigFile(l, "x.config").code, 0) << c.what;
    EXPECT_EQ(l.settings.mainClass, "qel.Main") << c.what;
    EXPECT_EQ(l.settings.classPath, Strings{"C:/Temp/a.jar"}) << c.what;
    if (c.what == cases[0].what) twin = l.settings;
    EXPECT_TRUE(l.settings == twin) << c.what;
    for (const auto& box : fresh.eventsOf("box"))
      EXPECT_NE(box.caption, "Characters replaced in") << c.what;
  }
  // A surrogate without its partner cannot be converted: it is replaced,
  // and debug mode says so.
  os.files["x.config"] = utf16("appname A", false) + std::string("\x00\xD8", 2);
  settings.debug = true;
  readConfigFile(launcher, "x.config");
  EXPECT_EQ(settings.appName, "A\xEF\xBF\xBD");
  EXPECT_EQ(os.boxes().back(), "Characters replaced in|x.config");
}

// Where the launcher's code page is not UTF-8, a marked file is converted
// into it; a file without a mark, or any file where the code page is UTF-8,
// stays byte for byte. What the code page lacks is replaced and reported.
TEST_F(ConfigReaderTest, MarkedFilesAreConvertedToTheCodePage) {
  const std::string mark = "\xEF\xBB\xBF";
  struct Case {
    const char* what;
    bool utf8CodePage;
    std::string file;
    const char* appName;
    bool reported;
  } cases[] = {
      {"no mark", false, "appname J\xC3\xBCrgen\n", "J\xC3\xBCrgen", false},
      {"UTF-8", false, mark + "appname J\xC3\xBCrgen\n", "J\xFCrgen", false},
      {"UTF-8, not in the code page", false, mark + "appname \xC5\x81ukasz\n",
       "?ukasz", true},
      {"UTF-8, no character", false,
       mark + "appname a\xFF\xC0\xAF\xED\xA0\x80z\n", "a??????z", true},
      {"UTF-8, beyond 16 bits", false, mark + "appname \xF0\x9F\x98\x80\n",
       "??", true},
      {"UTF-8 code page", true, mark + "appname J\xC3\xBCrgen\xFF\n",
       "J\xC3\xBCrgen\xFF", false},
  };
  for (const Case& c : cases) {
    FakePlatform fresh;
    fresh.utf8CodePage = c.utf8CodePage;
    fresh.files["x.config"] = c.file;
    Launcher l(fresh);
    l.settings.debug = true;
    readConfigFile(l, "x.config");
    EXPECT_EQ(l.settings.appName, c.appName) << c.what;
    const Strings boxes = fresh.boxes();
    EXPECT_EQ(boxes.back() == "Characters replaced in|x.config", c.reported)
        << c.what;
  }
}

TEST_F(ConfigReaderTest, EmptyFilesAndCommentsSetNothing) {
  for (const char* text : {"", "\n\n", "# a\n/ b\n#mainclass x\n", "   \n",
                           "nospace\n", "unknown keyword\n"}) {
    FakePlatform fresh;
    Launcher l(fresh);
    fresh.files["x.config"] = text;
    EXPECT_EQ(readConfigFile(l, "x.config").code, 0);
    EXPECT_TRUE(nothingSet(l.settings)) << text;
    EXPECT_TRUE(fresh.events.empty()) << text;
  }
}

// Skipped, and named in a box only in debug mode.
TEST_F(ConfigReaderTest, MissingFileAndEmptyPathAreSkipped) {
  for (bool debug : {false, true}) {
    FakePlatform fresh;
    Launcher l(fresh);
    l.settings.debug = debug;
    for (const char* path : {"C:\\none.config", ""}) {
      const ConfigRead read = readConfigFile(l, path);
      EXPECT_EQ(read.code, 0);
      EXPECT_FALSE(read.found);
    }
    const Strings named = {"Config File Not Found|C:\\none.config",
                           "Config File Not Found|"};
    EXPECT_EQ(fresh.boxes(), debug ? named : Strings{});
    EXPECT_EQ(fresh.events.size(), fresh.boxes().size());
  }
}

TEST_F(ConfigReaderTest, FileThatCannotBeOpened) {
  struct Case {
    bool quiet;
    bool directory;
  };
  for (Case c : {Case{false, false}, Case{true, false}, Case{false, true}}) {
    FakePlatform fresh;
    Launcher l(fresh);
    l.settings.quiet = c.quiet;
    if (c.directory)
      fresh.directories.insert("C:\\app.config");
    else
      fresh.unreadable.insert("C:\\app.config");
    EXPECT_EQ(readConfigFile(l, "C:\\app.config").code, 1);
    const std::string message =
        "Can't open C:\\app.config Error Permission denied\n";
    EXPECT_EQ(fresh.err, message);
    Strings expectedBoxes;
    if (!c.quiet)
      expectedBoxes.push_back("Error Reading Config File|" + message);
    EXPECT_EQ(fresh.boxes(), expectedBoxes);
  }
}

TEST_F(ConfigReaderTest, OpenErrorMessageIsCutToItsBuffer) {
  std::string path(1500, 'p');
  os.unreadable.insert(path);
  EXPECT_EQ(readConfigFile(launcher, path).code, 1);
  EXPECT_EQ(os.err.size(), kMessageBufferSize - 1);
  EXPECT_EQ(os.err.substr(0, 11), "Can't open ");
}

TEST_F(ConfigReaderTest, DebugBoxesWhileReading) {
  settings.debug = true;
  readText("mainclass qel.Main\nsetenv MODE=$TEMP\\x\n");
  EXPECT_EQ(os.boxes(),
            (Strings{
                "Reading Config file|C:\\start\\app.config",
                "MODE|$TEMP\\x",
                "Found variable|TEMP",
                "Parse Path|arg [$TEMP\\x] expanded to [C:\\Temp\\x]\n",
            }));
}

TEST_F(ConfigReaderTest, SetEnv) {
  readText(
      "setenv MODE=$TEMP\\x\n"
      "setenv noequals\n"
      "setenv PAIR=a=b\n"
      "setenv EMPTY=\n"
      "mainclass $MODE\n");
  auto sets = os.eventsOf("setenv");
  ASSERT_EQ(sets.size(), 3u);
  EXPECT_EQ(sets[0].text, "MODE");
  EXPECT_EQ(sets[0].caption, "C:/Temp/x");
  EXPECT_EQ(sets[1].text, "PAIR");
  EXPECT_EQ(sets[1].caption, "a=b");
  EXPECT_EQ(sets[2].text, "EMPTY");
  EXPECT_EQ(sets[2].caption, "");
  // Expansion does not see what setenv set.
  EXPECT_EQ(settings.mainClass, "$MODE");
}

TEST_F(ConfigReaderTest, JavaVersionWithoutAMatchEndsWithStatus5) {
  for (const char* line : {"javaVersion 1.6.0_21\n", "javaVersion \n"}) {
    FakePlatform fresh;
    Launcher l(fresh);
    l.settings.quiet = true;
    fresh.files["x.config"] =
        std::string("appname App\n") + line + "mainclass never.Read\n";
    EXPECT_EQ(readConfigFile(l, "x.config").earlyExit, 5) << line;
    EXPECT_EQ(l.settings.appName, "App");
    EXPECT_FALSE(l.settings.mainClass);
    EXPECT_FALSE(l.settings.javaPath);
  }
}

TEST_F(ConfigReaderTest, IncludeTakesEffectAtItsLine) {
  os.files["inc.config"] = "mainclass Inner\nappname InnerName\nvmparam -Db\n";
  readText(
      "vmparam -Da\n"
      "include inc.config\n"
      "vmparam -Dc\n"
      "mainclass Outer\n");
  EXPECT_EQ(settings.vmParams, (Strings{"-Da", "-Db", "-Dc"}));
  EXPECT_EQ(settings.mainClass, "Outer");
  EXPECT_EQ(settings.appName, "InnerName");
}

TEST_F(ConfigReaderTest, IncludeIsFoundByItsPathAloneAndExpanded) {
  // The including file's directory plays no part.
  os.files["C:\\other\\main.config"] = "include inc.config\n";
  os.files["C:\\other\\inc.config"] = "mainclass Wrong\n";
  os.files["inc.config"] = "mainclass Right\ninclude $TEMP\\more.config\n";
  os.files["C:/Temp/more.config"] = "appname More\n";
  EXPECT_EQ(readConfigFile(launcher, "C:\\other\\main.config").code, 0);
  EXPECT_EQ(settings.mainClass, "Right");
  EXPECT_EQ(settings.appName, "More");
}

TEST_F(ConfigReaderTest, IncludeThatFailsLosesOnlyItsOwnLines) {
  os.unreadable.insert("bad.config");
  EXPECT_EQ(readText("include missing.config\ninclude bad.config\n"
                     "mainclass After\n"),
            0);
  EXPECT_EQ(settings.mainClass, "After");
  EXPECT_EQ(os.err, "Can't open bad.config Error Permission denied\n");
}

TEST_F(ConfigReaderTest, SelfIncludeIsBounded) {
  settings.debug = true;
  os.files["loop.config"] = "vmparam -Dlevel\ninclude loop.config\n";
  EXPECT_EQ(readText("include loop.config\nmainclass After\n"), 0);
  // The top file and 31 nested copies are open at the deepest point.
  EXPECT_EQ(settings.vmParams.size(),
            static_cast<std::size_t>(kMaxIncludeDepth - 1));
  EXPECT_EQ(settings.mainClass, "After");
  int skipped = 0;
  for (const auto& box : os.eventsOf("box"))
    if (box.caption == "Include skipped") ++skipped;
  EXPECT_EQ(skipped, 1);
  EXPECT_EQ(launcher.includeDepth, 0);
}

TEST_F(ConfigReaderTest, MutualIncludeIsBoundedAndSilentWithoutDebug) {
  os.files["a.config"] = "addjar a.jar\ninclude b.config\n";
  os.files["b.config"] = "addjar b.jar\ninclude a.config\n";
  readConfigFile(launcher, "a.config");
  EXPECT_EQ(settings.classPath.size(),
            static_cast<std::size_t>(kMaxIncludeDepth));
  EXPECT_EQ(settings.classPath[0], "a.jar");
  EXPECT_EQ(settings.classPath[1], "b.jar");
  EXPECT_TRUE(os.boxes().empty());
}

TEST_F(ConfigReaderTest, IncludeFanOutIsBoundedInTotal) {
  // Each level includes the file twice: the depth bound alone would leave
  // 2^31 reads.
  os.files["fan.config"] =
      "include fan.config\ninclude fan.config\naddjar x.jar\n";
  EXPECT_EQ(readText("include fan.config\nmainclass After\n"), 0);
  EXPECT_EQ(launcher.filesRead, kMaxFilesRead);
  EXPECT_EQ(settings.classPath.size(),
            static_cast<std::size_t>(kMaxFilesRead - 1));
  EXPECT_EQ(settings.mainClass, "After");
  EXPECT_EQ(launcher.includeDepth, 0);
}

TEST_F(ConfigReaderTest, ListsKeepEveryEntryPastTheirCapacities) {
  // Past the nominal capacities of the lists: 100, 100 and 200 entries.
  constexpr std::size_t kParams = 150, kArgs = 150, kJars = 250;
  std::string text;
  for (std::size_t i = 0; i < kParams; ++i)
    text += "vmparam -Dp" + std::to_string(i) + "\n";
  for (std::size_t i = 0; i < kArgs; ++i)
    text += "argument a" + std::to_string(i) + "\n";
  for (std::size_t i = 0; i < kJars; ++i)
    text += "addjar j" + std::to_string(i) + ".jar\n";
  readText(text);
  ASSERT_EQ(settings.vmParams.size(), kParams);
  ASSERT_EQ(settings.programArgs.size(), kArgs);
  ASSERT_EQ(settings.classPath.size(), kJars);
  EXPECT_EQ(settings.vmParams.back(), "-Dp149");
  EXPECT_EQ(settings.programArgs.back(), "a149");
  EXPECT_EQ(settings.classPath.back(), "j249.jar");
}

}  // namespace
}  // namespace zindle::testing
