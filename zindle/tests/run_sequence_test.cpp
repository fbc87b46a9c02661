// Start-up options, start directory, configuration path and the debug boxes
// of the run sequence.
#include <string>
#include <vector>

#include "launcher_fixture.h"
#include "sample_writer.h"
#include "version.h"

namespace zindle::testing {
namespace {

using Strings = std::vector<std::string>;

class RunSequenceTest : public LauncherTest {};

struct OptionCase {
  Strings args;  // after argv[0]
  bool debug, showConsole, quiet, logCommandLine;
  const char* configPath;  // nullptr: unset
  Strings vmParams;
  Strings programArgs;
};

TEST_F(RunSequenceTest, OptionTable) {
  const std::vector<OptionCase> cases = {
      {{"-d"}, true, false, false, false, nullptr, {}, {}},
      {{"-debug"}, false, false, false, false, nullptr, {}, {"-debug"}},
      {{"-Dx=1", "-DLOGFILE=a.log", "-D"},
       false,
       false,
       false,
       false,
       nullptr,
       {"-Dx=1", "-DLOGFILE=a.log", "-D"},
       {}},
      {{"-D$HOME"}, false, false, false, false, nullptr, {"-D$HOME"}, {}},
      {{"-con"}, false, true, false, false, nullptr, {}, {}},
      {{"-config"}, false, true, false, false, nullptr, {}, {}},
      {{"-cother.config"}, false, false, false, false, "other.config", {}, {}},
      {{"-c", "x.config"}, false, false, false, false, "", {}, {"x.config"}},
      {{"-q"}, false, false, true, false, nullptr, {}, {}},
      {{"-quiet"}, false, false, true, false, nullptr, {}, {}},
      {{"-o"}, false, false, false, true, nullptr, {}, {}},
      {{"-output"}, false, false, false, true, nullptr, {}, {}},
      {{"-s", "x", "-"},
       false,
       false,
       false,
       false,
       nullptr,
       {},
       {"-s", "x", "-"}},
      {{"-samp"}, false, false, false, false, nullptr, {}, {"-samp"}},
      {{"-d", "-q"}, true, false, true, false, nullptr, {}, {}},
      {{"a", "-Db", "c"},
       false,
       false,
       false,
       false,
       nullptr,
       {"-Db"},
       {"a", "c"}},
  };
  for (const auto& c : cases) {
    FakePlatform fresh;
    Launcher l(fresh);
    Strings args{"C:\\Apps\\runner.exe"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    parseOptions(l, args);
    std::string label = c.args.empty() ? "" : c.args[0];
    EXPECT_EQ(l.settings.debug, c.debug) << label;
    EXPECT_EQ(l.settings.showConsole, c.showConsole) << label;
    EXPECT_EQ(l.settings.quiet, c.quiet) << label;
    EXPECT_EQ(l.settings.logCommandLine, c.logCommandLine) << label;
    if (c.configPath)
      EXPECT_EQ(l.settings.configPath, std::string(c.configPath)) << label;
    else
      EXPECT_FALSE(l.settings.configPath) << label;
    EXPECT_EQ(l.settings.vmParams, c.vmParams) << label;
    EXPECT_EQ(l.settings.programArgs, c.programArgs) << label;
    EXPECT_TRUE(fresh.events.empty()) << label;
  }
}

TEST_F(RunSequenceTest, QuietCancelsDebugInEitherOrder) {
  for (const Strings& options : {Strings{"-q", "-d"}, Strings{"-d", "-q"}}) {
    FakePlatform fresh;
    fresh.unreadable.insert("C:\\Apps\\runner.config");
    Launcher l(fresh);
    Strings args{"C:\\Apps\\runner.exe"};
    args.insert(args.end(), options.begin(), options.end());
    EXPECT_EQ(runSequence(l, args), 2);
    EXPECT_FALSE(l.settings.debug);
    EXPECT_TRUE(fresh.boxes().empty());
    EXPECT_EQ(fresh.out, "");
    EXPECT_EQ(fresh.err,
              "Can't open C:\\Apps\\runner.config Error Permission denied\n");
  }
}

TEST_F(RunSequenceTest, SampleIsWrittenBeforeTheChangeOfDirectory) {
  os.files["C:\\Apps\\runner.config"] = "mainclass never.Read\n";
  EXPECT_EQ(run({"C:\\Apps\\runner.exe", "-d", "x", "-sample", "-q"}), 0);
  auto writes = os.eventsOf("write");
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].text, "sample.config");
  EXPECT_FALSE(writes[0].flag);  // CR LF written as they stand
  EXPECT_EQ(os.files["sample.config"], sampleConfigText());
  // Nothing after the option ran: no box, no directory change, no reading.
  EXPECT_TRUE(os.eventsOf("box").empty());
  EXPECT_TRUE(os.eventsOf("chdir").empty());
  EXPECT_FALSE(settings.quiet);
  EXPECT_FALSE(settings.mainClass);
  EXPECT_EQ(settings.programArgs, Strings{"x"});
}

TEST_F(RunSequenceTest, SampleThatCannotBeCreatedEndsWithStatus1Silently) {
  os.unwritable.insert("sample.config");
  EXPECT_EQ(run({"runner.exe", "-sample"}), 1);
  EXPECT_TRUE(os.eventsOf("box").empty());
  EXPECT_EQ(os.out, "");
  EXPECT_EQ(os.err, "");
}

struct StartCase {
  PathStyle style;
  const char* exe;
  const char* cwd;
  const char* chdir;  // nullptr: none
  const char* startDir;
  const char* configRead;
};

TEST_F(RunSequenceTest, StartDirectoryAndConfigurationPath) {
  const std::vector<StartCase> cases = {
      {PathStyle::kWindows, "C:\\Apps\\Model\\runner.exe", "C:\\start",
       "C:\\Apps\\Model", "C:\\Apps\\Model", "C:\\Apps\\Model\\runner.config"},
      {PathStyle::kWindows, "runner.exe", "C:\\start", nullptr, "C:\\start",
       "C:\\start\\runner.config"},
      {PathStyle::kWindows, "C:\\Apps\\RUNNER.EXE", "C:\\start", "C:\\Apps",
       "C:\\Apps", "C:\\Apps\\RUNNER.EXE.config"},
      {PathStyle::kWindows, "Apps\\runner.exe", "C:\\start", nullptr,
       "C:\\start", "C:\\start\\runner.config"},
      {PathStyle::kWindows, "C:runner.exe", "C:\\start", nullptr, "C:\\start",
       "C:\\start\\C:runner.config"},
      {PathStyle::kWindows, "\\\\server\\share\\runner.exe", "C:\\start",
       nullptr, "C:\\start", "C:\\start\\runner.config"},
      {PathStyle::kWindows, ".exe", "C:\\start", nullptr, "C:\\start",
       "C:\\start\\.config"},
      {PathStyle::kWindows, "C:\\Apps\\runner.exe.exe", "C:\\start", "C:\\Apps",
       "C:\\Apps", "C:\\Apps\\runner.exe.config"},
      {PathStyle::kPosix, "/opt/model/runner", "/home/u", "/opt/model",
       "/opt/model", "/opt/model/runner.config"},
      {PathStyle::kPosix, "./runner", "/home/u", nullptr, "/home/u",
       "/home/u/runner.config"},
      {PathStyle::kPosix, "runner", "/home/u", nullptr, "/home/u",
       "/home/u/runner.config"},
      {PathStyle::kPosix, "/runner", "/home/u", "/", "/", "//runner.config"},
      {PathStyle::kPosix, "bin\\runner.exe", "/home/u", nullptr, "/home/u",
       "/home/u/bin\\runner.config"},
  };
  for (const auto& c : cases) {
    FakePlatform fresh;
    fresh.style = c.style;
    fresh.cwd = c.cwd;
    fresh.files[c.configRead] = "mainclass Found\n";
    Launcher l(fresh);
    // The fake registry holds no runtime: nothing is started.
    EXPECT_EQ(runSequence(l, {c.exe}), kExitJavaNotStarted) << c.exe;
    auto chdirs = fresh.eventsOf("chdir");
    if (c.chdir) {
      ASSERT_EQ(chdirs.size(), 1u) << c.exe;
      EXPECT_EQ(chdirs[0].text, c.chdir) << c.exe;
    } else {
      EXPECT_TRUE(chdirs.empty()) << c.exe;
    }
    EXPECT_EQ(l.settings.startDir, c.startDir) << c.exe;
    EXPECT_EQ(l.settings.mainClass, "Found") << c.exe;
  }
}

TEST_F(RunSequenceTest, StartDirectoryIsCutToItsBuffer) {
  std::string dir = "C:\\" + std::string(3000, 'd');
  fixStartDirectory(launcher, dir + "\\runner.exe");
  EXPECT_EQ(settings.startDir.size(), kLineBufferSize - 1);
  os.cwd = std::string(3000, 'c');
  fixStartDirectory(launcher, "runner.exe");
  EXPECT_EQ(settings.startDir.size(), kLineBufferSize - 1);
}

TEST_F(RunSequenceTest, ConfigOptionNamesThePathAsGiven) {
  os.files["other.config"] = "mainclass Other\n";
  os.files["C:\\Apps\\runner.config"] = "mainclass Default\n";
  EXPECT_EQ(run({"C:\\Apps\\runner.exe", "-cother.config"}),
            kExitJavaNotStarted);
  EXPECT_EQ(settings.mainClass, "Other");
}

TEST_F(RunSequenceTest, EmptyConfigOptionReadsNothing) {
  os.files["C:\\Apps\\runner.config"] = "mainclass Default\n";
  EXPECT_EQ(run({"C:\\Apps\\runner.exe", "-c", "x.config"}),
            kExitJavaNotStarted);
  EXPECT_FALSE(settings.mainClass);
  EXPECT_EQ(settings.programArgs, Strings{"x.config"});
}

TEST_F(RunSequenceTest, MissingConfigurationIsNoError) {
  EXPECT_EQ(run({"C:\\Apps\\runner.exe", "arg"}), kExitJavaNotStarted);
  for (const auto& box : os.eventsOf("box"))
    EXPECT_NE(box.caption, "Error Reading Config File");
  EXPECT_EQ(os.err, "");
  EXPECT_EQ(settings.programArgs, Strings{"arg"});
}

// The boxes up to and including "MainClass is": those of this sequence,
// without what the launch step shows after them.
Strings boxesBeforeLaunch(const FakePlatform& os) {
  Strings result;
  for (const auto& box : os.boxes()) {
    result.push_back(box);
    if (box.rfind("MainClass is|", 0) == 0) break;
  }
  return result;
}

TEST_F(RunSequenceTest, DebugBoxesAndTraceInOrder) {
  os.files["C:\\Apps\\runner.config"] =
      "mainclass qel.Main\naddjar lib\\a.jar\naddjars lib\n";
  EXPECT_EQ(run({"C:\\Apps\\runner.exe", "-d", "-Dx=1"}), kExitJavaNotStarted);
  EXPECT_TRUE(settings.isVistaOrLater);
  EXPECT_EQ(boxesBeforeLaunch(os),
            (Strings{
                std::string("Running on Vista|") + kVersion,
                std::string("Version|") + kVersion,
                "LpCmdLine|[C:\\Apps\\runner.exe]",
                "CWD|C:\\Apps",
                "Reading App Config file|[C:\\Apps\\runner.config]",
                "Reading Config file|C:\\Apps\\runner.config",
                "MainClass is|qel.Main",
            }));
  auto boxes = os.eventsOf("box");
  for (std::size_t i = 0; i < 7 && i < boxes.size(); ++i)
    EXPECT_EQ(boxes[i].number, kMbOk);
  const std::string trace =
      "reading app config C:\\Apps\\runner.config\n"
      "vmparam 0=-Dx=1\n"
      "vmpath 0=lib\\a.jar\n"
      "vmpath 1=lib/*\n";
  EXPECT_EQ(os.out.substr(0, trace.size()), trace);
}

TEST_F(RunSequenceTest, BeforeVistaNoVistaBoxAndUnsetMainClassShowsEmpty) {
  os.majorVersion = 5;
  EXPECT_EQ(run({"runner.exe", "-d"}), kExitJavaNotStarted);
  EXPECT_FALSE(settings.isVistaOrLater);
  EXPECT_EQ(boxesBeforeLaunch(os),
            (Strings{
                std::string("Version|") + kVersion,
                "LpCmdLine|[runner.exe]",
                "CWD|C:\\start",
                "Reading App Config file|[C:\\start\\runner.config]",
                "Config File Not Found|C:\\start\\runner.config",
                "MainClass is|",
            }));
}

TEST_F(RunSequenceTest, NoTraceWithoutDebug) {
  os.files["C:\\start\\runner.config"] = "vmparam -Dy\naddjar a.jar\n";
  EXPECT_EQ(run({"runner.exe", "-Dx=1"}), kExitJavaNotStarted);
  EXPECT_EQ(os.out.find("vmparam "), std::string::npos);
  EXPECT_EQ(os.out.find("vmpath "), std::string::npos);
  EXPECT_EQ(os.out.find("reading app config"), std::string::npos);
  EXPECT_EQ(settings.vmParams, (Strings{"-Dx=1", "-Dy"}));
}

TEST_F(RunSequenceTest, UnreadableConfigurationEndsWithStatus2) {
  os.directories.insert("C:\\Apps\\runner.config");
  EXPECT_EQ(run({"C:\\Apps\\runner.exe", "-d"}), 2);
  Strings boxes = os.boxes();
  ASSERT_GE(boxes.size(), 3u);
  EXPECT_EQ(boxes[boxes.size() - 3],
            "Reading Config file|C:\\Apps\\runner.config");
  EXPECT_EQ(boxes[boxes.size() - 2],
            "Error Reading Config File|Can't open C:\\Apps\\runner.config "
            "Error Permission denied\n");
  EXPECT_EQ(boxes.back(), "LpCmdLine|[C:\\Apps\\runner.exe]");
  EXPECT_FALSE(settings.mainClass);
}

TEST_F(RunSequenceTest, LongLauncherPathIsCutInTheBox) {
  std::string exe = "C:\\" + std::string(1500, 'x') + "\\runner.exe";
  EXPECT_EQ(run({exe, "-d"}), kExitJavaNotStarted);
  auto boxes = os.eventsOf("box");
  ASSERT_GE(boxes.size(), 3u);
  EXPECT_EQ(boxes[2].caption, "LpCmdLine");
  EXPECT_EQ(boxes[2].text.size(), kMessageBufferSize - 1);
}

// A launch step that answers from a script and counts its calls.
std::vector<JavaExit> scriptedCodes;
int launches = 0;
JavaExit scriptedLaunch(Launcher&) {
  JavaExit code = scriptedCodes.at(static_cast<std::size_t>(launches));
  ++launches;
  return code;
}

TEST_F(RunSequenceTest, LaunchRepeatsWhileTheRestartCodeComes) {
  const JavaExit notStarted;
  struct Case {
    std::vector<JavaExit> codes;
    int launches;
    int status;
  };
  for (const Case& c :
       {Case{{0}, 1, 0}, Case{{999, 999, 0}, 3, 0}, Case{{999, 1}, 2, 0},
        Case{{2}, 1, 0}, Case{{-999}, 1, 0}, Case{{notStarted}, 1, 2},
        Case{{999, notStarted}, 2, 2}}) {
    FakePlatform fresh;
    Launcher l(fresh);
    scriptedCodes = c.codes;
    launches = 0;
    EXPECT_EQ(runSequence(l, {"runner.exe"}, scriptedLaunch), c.status);
    EXPECT_EQ(launches, c.launches);
  }
}

TEST_F(RunSequenceTest, NoLaunchWhenTheConfigurationCannotBeRead) {
  os.unreadable.insert("C:\\start\\runner.config");
  scriptedCodes = {0};
  launches = 0;
  EXPECT_EQ(runSequence(launcher, {"runner.exe"}, scriptedLaunch), 2);
  EXPECT_EQ(launches, 0);
}

}  // namespace
}  // namespace zindle::testing
