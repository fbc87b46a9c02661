// The launch step on the fake platform: composition, process start,
// reports, and the restart loop of the run sequence.
#include "launch_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "java_discovery.h"
#include "platform/command_line_split.h"
#include "run_sequence.h"
#include "version.h"

namespace zindle {
namespace {

using testing::FakePlatform;

// The settings of the composition example.
void example(LaunchSettings& s) {
  s.javaPath = "C:\\jre\\bin\\javaw.exe";
  s.vmParams = {"-Xmx512m", "-DLOGFILE=C:\\logs\\app.log"};
  s.classPath = {"lib\\a.jar", "lib\\b.jar"};
  s.mainClass = "app.Main";
  s.programArgs = {"alpha", "beta"};
}

TEST(ComposeCommandLine, BuildsThePiecesInOrder) {
  struct Case {
    const char* what;
    std::function<void(LaunchSettings&)> set;
    const char* line;
  } cases[] = {
      {"the example before Vista", [](LaunchSettings& s) { example(s); },
       "C:\\jre\\bin\\javaw.exe -Xmx512m -DLOGFILE=C:\\logs\\app.log "
       "-classpath lib\\a.jar;lib\\b.jar app.Main alpha beta "},
      {"the example from Vista on",
       [](LaunchSettings& s) {
         example(s);
         s.isVistaOrLater = true;
       },
       "C:\\jre\\bin\\javaw.exe -Xmx512m -DLOGFILE=C:\\logs\\app.log "
       "-classpath lib\\a.jar;lib\\b.jar app.Main \"alpha\" \"beta\" "},
      {"no class path: no -classpath",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.vmParams = {"-Xmx1m"};
         s.mainClass = "M";
       },
       "java -Xmx1m M"},
      {"a main class with a blank names the class path itself",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.mainClass = "lib/* app.Main";
       },
       "java -classpath  lib/* app.Main"},
      {"-jar without a main class gets no stray -classpath",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.vmParams = {"-jar app.jar"};
         s.programArgs = {"x"};
       },
       "java -jar app.jar  x "},
      {"no main class, no arguments",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.classPath = {"a.jar"};
       },
       "java -classpath a.jar "},
      {"no main class, with arguments",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.classPath = {"a.jar"};
         s.programArgs = {"x"};
       },
       "java -classpath a.jar  x "},
      {"one entry with a blank quotes the whole list",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.classPath = {"a.jar", "C:/Program Files/b.jar", "c.jar"};
         s.mainClass = "M";
       },
       "java -classpath \"a.jar;C:/Program Files/b.jar;c.jar\" M"},
      {"quotes from the expansion are not doubled",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.classPath = {"\"C:/Program Files/Model/lib\"/*", "x.jar"};
         s.mainClass = "M";
       },
       "java -classpath \"C:/Program Files/Model/lib/*;x.jar\" M"},
      {"quotes without a blank stay as written",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.classPath = {"\"lib\"/*"};
         s.mainClass = "M";
       },
       "java -classpath \"lib\"/* M"},
      {"arguments with a blank are quoted before Vista",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.mainClass = "M";
         s.programArgs = {"a b", "c"};
       },
       "java M \"a b\" c "},
      {"an argument already in quotes is not quoted again",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.mainClass = "M";
         s.programArgs = {"\"a b\"", "\"c\"", "\""};
         s.isVistaOrLater = true;
       },
       "java M \"a b\" \"c\" \"\\\"\" "},
      {"inner quotes are escaped, backslashes before a quote doubled",
       [](LaunchSettings& s) {
         s.javaPath = "java";
         s.mainClass = "M";
         s.programArgs = {"say\"hi", "say \"hi\" there", "C:\\Program Files\\",
                          "a\\\"b",  "C:\\dir\\",        ""};
       },
       "java M say\\\"hi \"say \\\"hi\\\" there\" "
       "\"C:\\Program Files\\\\\" a\\\\\\\"b C:\\dir\\ \"\" "},
      {"parameters and the Java path are never quoted",
       [](LaunchSettings& s) {
         s.javaPath = "\"C:\\Program Files\\j\\bin\\javaw.exe\"";
         s.vmParams = {"-Da=b c"};
         s.mainClass = "M";
         s.isVistaOrLater = true;
       },
       "\"C:\\Program Files\\j\\bin\\javaw.exe\" -Da=b c M"},
  };
  for (const Case& c : cases) {
    FakePlatform os;
    Launcher l(os);
    c.set(l.settings);
    EXPECT_EQ(composeCommandLine(l), c.line) << c.what;
    EXPECT_TRUE(os.boxes().empty()) << c.what;
  }
}

// Every argument not written in quotes reaches Java as it stands, before
// Vista and after.
TEST(ComposeCommandLine, ProgramArgumentsSplitBackUnchanged) {
  const std::vector<std::string> args = {"plain",
                                         "two words",
                                         "C:\\Program Files\\",
                                         "NEXT",
                                         "say \"hi\" there",
                                         "x\"y",
                                         "a\\\\\"b",
                                         "\\\"",
                                         "tab\there",
                                         "",
                                         "\"open",
                                         "close\"",
                                         "\\\\server\\",
                                         "-Dx=\"1 2\"",
                                         "C:\\a b\\\\"};
  for (bool vista : {false, true}) {
    FakePlatform os;
    Launcher l(os);
    l.settings.javaPath = "java";
    l.settings.mainClass = "M";
    l.settings.programArgs = args;
    l.settings.isVistaOrLater = vista;
    std::vector<std::string> pieces = splitCommandLine(composeCommandLine(l));
    ASSERT_GE(pieces.size(), 2u);  // java M
    EXPECT_EQ(std::vector<std::string>(pieces.begin() + 2, pieces.end()), args)
        << "Vista " << vista;
  }
}

// The mended quoting gives Java the arguments the configuration meant.
TEST(ComposeCommandLine, JavaReceivesTheIntendedArguments) {
  FakePlatform os;
  Launcher l(os);
  l.settings.javaPath = "java";
  l.settings.classPath = {"\"C:/Program Files/Model/lib\"/*", "b.jar"};
  l.settings.mainClass = "M";
  l.settings.programArgs = {"\"a b\"", "c d", "e"};
  l.settings.isVistaOrLater = true;
  EXPECT_EQ(splitCommandLine(composeCommandLine(l)),
            (std::vector<std::string>{"java", "-classpath",
                                      "C:/Program Files/Model/lib/*;b.jar", "M",
                                      "a b", "c d", "e"}));
}

TEST(LaunchJava, ShowsTheDebugBoxesInOrder) {
  FakePlatform os;
  Launcher l(os);
  example(l.settings);
  l.settings.programArgs = {"a b", "c"};
  l.settings.debug = true;
  l.settings.workingDir = "C:\\work";
  l.settings.logFile = "C:\\logs\\app.log";
  EXPECT_EQ(launchJava(l), 0);
  const std::string line =
      "C:\\jre\\bin\\javaw.exe -Xmx512m -DLOGFILE=C:\\logs\\app.log "
      "-classpath lib\\a.jar;lib\\b.jar app.Main \"a b\" c ";
  EXPECT_EQ(os.boxes(), (std::vector<std::string>{
                            "Javapath is|C:\\jre\\bin\\javaw.exe",
                            "Adding double quotes around|a b",
                            "Starting dir|C:\\work",
                            "LogFile|C:\\logs\\app.log",
                            "Command Line is|" + line,
                            "Show Console|false",
                        }));
  for (const auto& e : os.eventsOf("box")) EXPECT_EQ(e.number, kMbOk);
  EXPECT_NE(os.out.find("CreateProcess ret 1, exitCode=0\n"),
            std::string::npos);
}

TEST(LaunchJava, DebugBoxesWithoutWorkingDirOrLogFile) {
  FakePlatform os;
  Launcher l(os);
  l.settings.javaPath = "j";
  l.settings.debug = true;
  l.settings.showConsole = true;
  l.settings.logFile = "";
  launchJava(l);
  EXPECT_EQ(os.boxes(), (std::vector<std::string>{
                            "Javapath is|j", "Starting dir|",
                            "Command Line is|j ", "Show Console|true"}));
}

TEST(LaunchJava, ConsoleTitleAndCreationFlags) {
  struct Case {
    bool showConsole;
    bool debug;
    const char* javaPath;
    const char* title;  // nullptr: unset
    bool allocates;
    unsigned flags;
    bool hasTitle;
    bool setsTitle;
  } cases[] = {
      {true, false, "C:\\j\\bin\\java.exe", "App", true, 0, true, true},
      {true, false, "C:\\j\\bin\\javaw.exe", "App", false, 0, true, true},
      {true, false, "C:\\javaworks\\bin\\java.exe", "App", false, 0, true,
       true},
      {true, false, "C:\\j\\bin\\JAVAW.exe", nullptr, true, 0, false, false},
      {true, false, "C:\\j\\bin\\java.exe", "", true, 0, true, false},
      {true, true, "C:\\j\\bin\\java.exe", "App", false, 0, true, true},
      {false, false, "C:\\j\\bin\\java.exe", "App", false, kCreateNoWindow,
       false, false},
      {false, false, "C:\\j\\bin\\javaw.exe", nullptr, false, kCreateNoWindow,
       false, false},
  };
  for (const Case& c : cases) {
    FakePlatform os;
    Launcher l(os);
    l.settings.javaPath = c.javaPath;
    l.settings.showConsole = c.showConsole;
    l.settings.debug = c.debug;
    if (c.title) l.settings.consoleTitle = c.title;
    launchJava(l);
    EXPECT_EQ(os.eventsOf("allocConsole").size(), c.allocates ? 1u : 0u)
        << c.javaPath;
    auto starts = os.eventsOf("start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].number, c.flags) << c.javaPath;
    EXPECT_EQ(starts[0].flag, c.hasTitle) << c.javaPath;
    auto titles = os.eventsOf("title");
    EXPECT_EQ(titles.size(), c.setsTitle ? 1u : 0u) << c.javaPath;
    if (c.setsTitle) {
      EXPECT_EQ(titles[0].text, "App");
    }
  }
}

TEST(LaunchJava, StartsWaitsAndRecordsInOrder) {
  FakePlatform os;
  os.exitCodes = {7};
  Launcher l(os);
  l.settings.javaPath = "java";
  l.settings.mainClass = "M";
  l.settings.workingDir = "D:\\run";
  l.settings.logCommandLine = true;
  l.settings.quiet = true;
  EXPECT_EQ(launchJava(l), 7);
  std::vector<std::string> kinds;
  for (const auto& e : os.events)
    if (e.kind != "stdout") kinds.push_back(e.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{"write", "start", "waitIdle",
                                             "wait", "close"}));
  EXPECT_EQ(os.eventsOf("waitIdle")[0].number, 5000u);
  EXPECT_EQ(os.eventsOf("start")[0].caption, "D:\\run");
  const std::string record =
      "#Version " + versionRecord() + "\n#Command line=\njava M\n";
  auto writes = os.eventsOf("write");
  EXPECT_EQ(writes[0].text, "zindle.out");
  EXPECT_TRUE(writes[0].flag);  // text mode
  EXPECT_EQ(os.files["zindle.out"], record);
  EXPECT_EQ(os.out, record);
}

// The process starts in the folder; the box shows the stored text.
TEST(LaunchJava, TheWorkingFolderLosesOneEnclosingPairOfQuotes) {
  struct Case {
    const char* stored;
    const char* folder;
  } cases[] = {
      {"\"C:/users/Public/My Work\"", "C:/users/Public/My Work"},
      {"D:\\run", "D:\\run"},
      {"\"C:/a b\"/c", "\"C:/a b\"/c"},
      {"\"", "\""},
  };
  for (const Case& c : cases) {
    FakePlatform os;
    Launcher l(os);
    l.settings.javaPath = "java";
    l.settings.workingDir = c.stored;
    l.settings.debug = true;
    launchJava(l);
    ASSERT_EQ(os.eventsOf("start").size(), 1u);
    EXPECT_EQ(os.eventsOf("start")[0].caption, c.folder) << c.stored;
    EXPECT_EQ(os.boxes()[1], std::string("Starting dir|") + c.stored);
  }
}

TEST(LaunchJava, WithoutTheOptionOnlyStandardOutputGetsTheRecord) {
  FakePlatform os;
  Launcher l(os);
  l.settings.javaPath = "java";
  launchJava(l);
  EXPECT_TRUE(os.eventsOf("write").empty());
  EXPECT_EQ(os.out,
            "#Version " + versionRecord() + "\n#Command line=\njava \n");
  // An unwritable record file changes nothing.
  FakePlatform os2;
  os2.unwritable.insert("zindle.out");
  Launcher l2(os2);
  l2.settings.javaPath = "java";
  l2.settings.logCommandLine = true;
  os2.exitCodes = {0};
  EXPECT_EQ(launchJava(l2), 0);
  EXPECT_EQ(os2.eventsOf("start").size(), 1u);
  EXPECT_TRUE(os2.boxes().empty());
  // Debug mode says so.
  l2.settings.debug = true;
  EXPECT_EQ(launchJava(l2), 0);
  const std::vector<std::string> boxes = os2.boxes();
  EXPECT_EQ(std::count(boxes.begin(), boxes.end(),
                       "Record file not written|zindle.out"),
            1);
}

TEST(LaunchJava, ReportsAnAbnormalEndByTheRules) {
  const std::string unexpected =
      "Unexpected Close|Model has closed in an unexpected way. Would you "
      "like to view the log file?\n\nLog file location:C:/logs/app.log\n\n"
      "Java returned the following error code: 1";
  const std::string error =
      "Error|Error launching Class app.Main\n with Java java.\nError=1";
  struct Case {
    const char* what;
    int exitCode;
    long long seconds;
    bool logFile;
    bool quiet;
    int answer;
    std::vector<std::string> boxes;
    bool opensLog;
  } cases[] = {
      {"0 is normal", 0, 1, true, false, kIdYes, {}, false},
      {"999 asks for a restart", 999, 1, true, false, kIdYes, {}, false},
      {"a quick failure", 1, 2, false, false, kIdOk, {error}, false},
      {"no box at 3 seconds", 1, 3, false, false, kIdOk, {}, false},
      {"no box later", 1, 300, false, false, kIdOk, {}, false},
      {"a clock that went back", 1, -5, false, false, kIdOk, {error}, false},
      {"the log file, Yes", 1, 300, true, false, kIdYes, {unexpected}, true},
      {"the log file, No", 1, 0, true, false, kIdNo, {unexpected}, false},
      {"quiet, quick", 1, 0, false, true, kIdOk, {}, false},
      {"quiet, log file", 1, 0, true, true, kIdYes, {}, false},
  };
  for (const Case& c : cases) {
    FakePlatform os;
    os.clock = {5000, 5000 + c.seconds};
    os.exitCodes = {c.exitCode};
    os.boxAnswers = {c.answer};
    Launcher l(os);
    l.settings.javaPath = "java";
    l.settings.mainClass = "app.Main";
    l.settings.appName = "Model";
    l.settings.quiet = c.quiet;
    if (c.logFile) l.settings.logFile = "C:/logs/app.log";
    EXPECT_EQ(launchJava(l), c.exitCode) << c.what;
    EXPECT_EQ(os.boxes(), c.boxes) << c.what;
    for (const auto& e : os.eventsOf("box"))
      EXPECT_EQ(e.number, kMbIconError | (c.logFile ? kMbYesNo : kMbOk))
          << c.what;
    auto shells = os.eventsOf("shell");
    EXPECT_EQ(shells.size(), c.opensLog ? 1u : 0u) << c.what;
    if (c.opensLog) {
      EXPECT_EQ(shells[0].text, "C:/logs/app.log");
    }
  }
}

// Without a main class or "-jar", the reports of an abnormal end name the
// configuration file looked for, and standard error gets the same sentence.
TEST(LaunchJava, ReportsWithoutAMainClassNameTheConfiguration) {
  const std::string looked = "No main class is set: the configuration file M";
  struct Case {
    std::vector<std::string> vmParams;
    bool found;
    bool logFile;
    bool quiet;
    std::string sentence;  // "" when none
  } cases[] = {
      {{}, false, false, false, looked + " was not found."},
      {{}, true, false, false, looked + " has no mainclass line."},
      {{}, false, true, false, looked + " was not found."},
      {{"-Xmx1m -jar app.jar"}, false, false, false, ""},
      {{"-jarx"}, true, false, false, looked + " has no mainclass line."},
      {{}, false, false, true, ""},
  };
  for (const Case& c : cases) {
    FakePlatform os;
    os.exitCodes = {1};
    Launcher l(os);
    l.appConfigPath = "M";
    l.appConfigFound = c.found;
    l.settings.javaPath = "java";
    l.settings.vmParams = c.vmParams;
    if (c.logFile) l.settings.logFile = "a.log";
    l.settings.quiet = c.quiet;
    launchJava(l);
    auto boxes = os.eventsOf("box");
    ASSERT_EQ(boxes.size(), c.quiet ? 0u : 1u) << c.sentence;
    if (c.quiet) continue;
    const std::string end = c.sentence.empty() ? "1" : "1\n" + c.sentence;
    EXPECT_EQ(boxes[0].text.substr(boxes[0].text.size() - end.size()), end);
    EXPECT_EQ(os.err, c.sentence.empty() ? "" : c.sentence + "\n");
  }
}

TEST(LaunchJava, TheUnexpectedCloseBoxNamesApplicationWithoutAppName) {
  for (std::optional<std::string> app :
       {std::optional<std::string>(), std::optional<std::string>("")}) {
    FakePlatform os;
    os.exitCodes = {-1};
    Launcher l(os);
    l.settings.javaPath = "java";
    l.settings.appName = app;
    l.settings.logFile = std::string(2000, 'L');
    launchJava(l);
    auto boxes = os.eventsOf("box");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Application has closed", 0), 0u);
    EXPECT_EQ(boxes[0].text.size(), 1023u);  // cut to its 1024-byte buffer
  }
}

TEST(LaunchJava, AFailedStartIsReportedAndNotWaitedFor) {
  struct Case {
    bool quiet;
    std::size_t params;  // -Dx parameters that make the line long
    bool mentionsLimit;
    const char* workingDir;  // nullptr: unset
  } cases[] = {
      {false, 1, false, nullptr},
      {false, 8200, true, nullptr},  // 8200 * 4 characters: past 32,767
      {true, 1, false, nullptr},
      {false, 1, false, "D:\\missing"},
      {false, 1, false, ""},
  };
  for (const Case& c : cases) {
    FakePlatform os;
    os.failStart = true;
    os.startError = 87;
    Launcher l(os);
    l.settings.javaPath = "C:\\j\\javaw.exe";
    l.settings.vmParams.assign(c.params, "-Dx");
    l.settings.quiet = c.quiet;
    if (c.workingDir) l.settings.workingDir = c.workingDir;
    EXPECT_FALSE(launchJava(l).has_value());
    EXPECT_TRUE(os.eventsOf("wait").empty());
    EXPECT_TRUE(os.eventsOf("waitIdle").empty());
    auto boxes = os.eventsOf("box");
    if (c.quiet) {
      EXPECT_TRUE(boxes.empty());
      continue;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error Starting Java");
    EXPECT_EQ(boxes[0].number, kMbIconError);
    EXPECT_NE(boxes[0].text.find("Error 87: system error 87"),
              std::string::npos);
    EXPECT_NE(boxes[0].text.find("Command line:\nC:\\j\\javaw.exe -Dx"),
              std::string::npos);
    EXPECT_EQ(boxes[0].text.find("32,767") != std::string::npos,
              c.mentionsLimit);
    EXPECT_EQ(boxes[0].text.find("Working directory:\nD:\\missing\n") !=
                  std::string::npos,
              c.workingDir && *c.workingDir);
    EXPECT_LE(boxes[0].text.size(), 1023u);
  }
}

TEST(LaunchJava, NoRuntimeFoundStartsNothing) {
  FakePlatform os;
  Launcher l(os);
  EXPECT_FALSE(launchJava(l).has_value());
  EXPECT_TRUE(os.eventsOf("start").empty());
  EXPECT_EQ(os.boxes(),
            std::vector<std::string>{"Error!|No Java Installation Found"});
  EXPECT_FALSE(l.settings.javaPath);
}

// The run sequence on top of the step: restart while 999, discovery once.
TEST(RunLauncher, RestartsWhile999AndSearchesJavaOnce) {
  FakePlatform os;
  os.registry[kJavaRootKey].values["CurrentVersion"] = "1.8";
  os.registry[kJavaRootKey].subkeys = {"1.8"};
  os.registry[std::string(kJavaRootKey) + "\\1.8"].values["JavaHome"] =
      "C:\\jre8";
  os.files["C:\\apps\\runner.config"] = "mainclass app.Main\n";
  os.exitCodes = {999, 999, 3, 999};
  os.clock = {0, 100, 100, 200, 200, 300};
  Launcher launcher(os);
  int status = runSequence(launcher, {"C:\\apps\\runner.exe", "-q", "arg"});
  EXPECT_EQ(status, 0);  // the Java exit code is not passed on
  auto starts = os.eventsOf("start");
  ASSERT_EQ(starts.size(), 3u);
  for (const auto& s : starts)
    EXPECT_EQ(s.text, "\"C:\\jre8\\bin\\javaw.exe\" app.Main \"arg\" ");
  std::size_t rootOpens = 0;
  for (const auto& e : os.eventsOf("regOpen"))
    if (e.text == kJavaRootKey) ++rootOpens;
  EXPECT_EQ(rootOpens, 1u);
  EXPECT_EQ(os.exitCodes.size(), 1u);  // the fourth code was never used
}

}  // namespace
}  // namespace zindle
