// Java runtime discovery on the fake platform.
#include "java_discovery.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config_reader.h"
#include "fake_platform.h"

namespace zindle {
namespace {

using testing::FakeEvent;
using testing::FakePlatform;

const std::string kRoot = kJavaRootKey;

struct Installed {
  std::string name;
  std::optional<std::string> home;  // none: the key has no "JavaHome"
};

// Registers the root key with its subkeys in the given order.
void install(FakePlatform& os, const std::vector<Installed>& versions,
             std::optional<std::string> current = std::nullopt) {
  testing::FakeRegistryKey& root = os.registry[kRoot];
  if (current) root.values["CurrentVersion"] = *current;
  for (const Installed& v : versions) {
    root.subkeys.push_back(v.name);
    testing::FakeRegistryKey& key = os.registry[kRoot + "\\" + v.name];
    if (v.home) key.values["JavaHome"] = *v.home;
  }
}

std::vector<std::string> opened(const FakePlatform& os) {
  std::vector<std::string> paths;
  for (const auto& e : os.eventsOf("regOpen")) paths.push_back(e.text);
  return paths;
}

const char* const kNotFound = "Java Runtime Environment Not Found";
const char* const kIncompatible = "Incompatible JRE Version Found";
const unsigned kPromptStyle = kMbYesNo | kMbIconError;

TEST(SplitJavaVersion, ReadsBaseAndPatchLevelLikeAtoi) {
  struct Case {
    const char* text;
    const char* base;
    int level;
    bool underscore;
  } cases[] = {
      {"1.6.0_21", "1.6.0", 21, true},
      {"1.6", "1.6", 0, false},
      {"1.6+", "1.6+", 0, false},
      {"1.6.0_10+", "1.6.0", 10, true},
      {"1.6.0_0+", "1.6.0", 0, true},
      {"1.6.0_ 12x", "1.6.0", 12, true},
      {"1.6.0_-3", "1.6.0", -3, true},
      {"1.6.0_+4", "1.6.0", 4, true},
      {"1.6.0_abc", "1.6.0", 0, true},
      {"1.6.0_", "1.6.0", 0, true},
      {"1.6_2_3", "1.6", 2, true},
      {"1_99999999999999999999", "1", 2147483647, true},
  };
  for (const Case& c : cases) {
    JavaVersionParts parts = splitJavaVersion(c.text);
    EXPECT_EQ(parts.base, c.base) << c.text;
    EXPECT_EQ(parts.patchLevel, c.level) << c.text;
    EXPECT_EQ(parts.hasUnderscore, c.underscore) << c.text;
  }
}

TEST(MakeJavaExePath, QuotesBySpaceOrVistaAndPicksJavaInDebug) {
  struct Case {
    const char* home;
    bool vista;
    bool debug;
    const char* path;
  } cases[] = {
      {"C:\\Program Files\\Java\\jre6", false, false,
       "\"C:\\Program Files\\Java\\jre6\\bin\\javaw.exe\""},
      {"C:\\Java\\jre6", false, false, "C:\\Java\\jre6\\bin\\javaw.exe"},
      {"C:\\Java\\jre6", true, false, "\"C:\\Java\\jre6\\bin\\javaw.exe\""},
      {"C:\\Java\\jre6", false, true, "C:\\Java\\jre6\\bin\\java.exe"},
      {"C:\\Java\\jre6", true, true, "\"C:\\Java\\jre6\\bin\\java.exe\""},
  };
  for (const Case& c : cases) {
    FakePlatform os;
    Launcher l(os);
    l.settings.isVistaOrLater = c.vista;
    l.settings.debug = c.debug;
    EXPECT_EQ(makeJavaExePath(l, c.home).value_or("none"), c.path) << c.home;
    bool quoted = c.path[0] == '"';
    std::vector<std::string> expected;
    if (quoted && c.debug)
      expected.push_back(std::string("Adding double quotes around|") + c.home);
    EXPECT_EQ(os.boxes(), expected) << c.home;
  }
}

TEST(MakeJavaExePath, RefusesAHomeThatLeavesNoRoomForTheSuffix) {
  FakePlatform os;
  Launcher l(os);
  // 2047 bytes is the most the path may hold: 2033 + "\bin\javaw.exe".
  EXPECT_EQ(makeJavaExePath(l, std::string(2033, 'h'))->size(), 2047u);
  EXPECT_FALSE(makeJavaExePath(l, std::string(2034, 'h')));
  l.settings.isVistaOrLater = true;  // the two quotes take room too
  EXPECT_TRUE(makeJavaExePath(l, std::string(2031, 'h')));
  EXPECT_FALSE(makeJavaExePath(l, std::string(2032, 'h')));
}

// findCurrentJava: each registry failure gives its box, in quiet mode too.
TEST(FindCurrentJava, EachRegistryFailureHasItsBoxes) {
  struct Case {
    const char* what;
    void (*setUp)(FakePlatform&);
    const char* debugBox;  // caption|text, shown in debug mode only
    const char* box;       // caption|text, always shown
  } cases[] = {
      {"no root key", [](FakePlatform&) {},
       "Error Accessing Registry!|SOFTWARE\\JavaSoft\\Java Runtime Environment",
       "Error!|No Java Installation Found"},
      {"no CurrentVersion", [](FakePlatform& os) { install(os, {}); },
       "Error Reading Registry|Java Current Version Key",
       "Error!|No Java Installation Found"},
      {"no key of the current version",
       [](FakePlatform& os) { install(os, {}, "1.8"); },
       "Error Accessing Registry!|Java Current Version",
       "Error!|No Java Installation (No Current Version) Found"},
      {"no JavaHome",
       [](FakePlatform& os) {
         install(os, {{"1.8", std::nullopt}}, "1.8");
       },
       "Error Reading Registry!|Java Home Directory",
       "Error!|No Java Installation Home Directory Found"},
      {"a home that leaves no room",
       [](FakePlatform& os) {
         install(os, {{"1.8", std::string(2040, 'h')}}, "1.8");
       },
       "Error Reading Registry!|Java Home Directory",
       "Error!|No Java Installation Home Directory Found"},
      {"a current version too long for the key path",
       [](FakePlatform& os) {
         install(os, {{std::string(220, 'v'), "C:\\j"}}, std::string(220, 'v'));
       },
       "Error Accessing Registry!|Java Current Version",
       "Error!|No Java Installation (No Current Version) Found"},
  };
  for (const Case& c : cases) {
    for (int mode = 0; mode < 3; ++mode) {  // normal, debug, quiet
      FakePlatform os;
      c.setUp(os);
      Launcher l(os);
      l.settings.debug = mode == 1;
      l.settings.quiet = mode == 2;
      EXPECT_FALSE(findCurrentJava(l)) << c.what;
      std::vector<std::string> expected;
      if (mode == 1) expected.push_back(c.debugBox);
      expected.push_back(c.box);
      // Between the two, debug mode lists the wider search, which found
      // nothing here.
      std::vector<FakeEvent> shown = os.eventsOf("box");
      if (mode == 1 && shown.size() == 3) {
        EXPECT_EQ(shown[1].caption, "Java Search");
        EXPECT_EQ(shown[1].text.substr(shown[1].text.rfind('\n')),
                  "\nChosen: none");
        shown.erase(shown.begin() + 1);
      }
      std::vector<std::string> boxes;
      for (const auto& e : shown) {
        boxes.push_back(e.caption + "|" + e.text);
        EXPECT_EQ(e.number, kMbIconError) << c.what;
      }
      EXPECT_EQ(boxes, expected) << c.what << " mode " << mode;
    }
  }
}

TEST(FindCurrentJava, ReturnsThePathOfTheCurrentVersionsHome) {
  FakePlatform os;
  install(os, {{"1.6.0_20", "C:\\old"}, {"1.8.0_5", "C:\\jre8"}}, "1.8.0_5");
  Launcher l(os);
  EXPECT_EQ(findCurrentJava(l).value_or("none"), "C:\\jre8\\bin\\javaw.exe");
  EXPECT_EQ(opened(os), (std::vector<std::string>{kRoot, kRoot + "\\1.8.0_5"}));
  // CurrentVersion is read with its 255-byte limit, JavaHome with 2048.
  auto queries = os.eventsOf("regQuery");
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_EQ(queries[0].number, 255u);
  EXPECT_EQ(queries[1].number, 2048u);
  EXPECT_EQ(os.eventsOf("regClose").size(), 2u);
  EXPECT_TRUE(os.boxes().empty());
}

struct ScanCase {
  const char* what;
  const char* required;
  std::vector<std::string> installed;  // in enumeration order
  std::optional<std::string> after;    // javaVersion afterwards
  std::optional<int> exitStatus;
  const char* promptCaption;  // box shown before the exit, if any
};

TEST(SelectInstalledVersion, ChoosesByBaseAndPatchLevel) {
  const ScanCase cases[] = {
      {"patch levels compare as numbers",
       "1.6",
       {"1.6", "1.6.0_20", "1.6.0_7"},
       "1.6.0_20",
       std::nullopt,
       nullptr},
      {"a name without patch level is never chosen",
       "1.6",
       {"1.6"},
       "1.6",
       std::nullopt,
       nullptr},
      {"no installed version reaches the level",
       "1.6.0_10+",
       {"1.6.0_05"},
       "1.6.0_10+",
       11,
       kIncompatible},
      {"an equal level counts",
       "1.6.0_10+",
       {"1.6.0_10"},
       "1.6.0_10",
       std::nullopt,
       nullptr},
      {"a best level of 0 keeps the requirement",
       "1.6.0_0+",
       {"1.6.0_00"},
       "1.6.0_0+",
       std::nullopt,
       nullptr},
      {"a plus without underscore stays in the base",
       "1.6+",
       {"1.6.0_20"},
       "1.6+",
       std::nullopt,
       nullptr},
      {"the later of equal levels wins",
       "1.6",
       {"1.6.0_20", "1.6.1_20"},
       "1.6.1_20",
       std::nullopt,
       nullptr},
      {"only the patch level is compared",
       "1.6",
       {"1.6.0_45", "1.6.1_05"},
       "1.6.0_45",
       std::nullopt,
       nullptr},
      {"the base is a prefix",
       "1.6",
       {"1.60_3", "1.7.0_50"},
       "1.60_3",
       std::nullopt,
       nullptr},
      {"the base compares with case",
       "a1",
       {"A1_5"},
       "a1",
       std::nullopt,
       nullptr},
      {"a higher level than required is taken",
       "1.6.0_10+",
       {"1.6.0_05", "1.6.0_30", "1.6.0_12"},
       "1.6.0_30",
       std::nullopt,
       nullptr},
      {"nothing installed, a level required",
       "1.6.0_1+",
       {},
       "1.6.0_1+",
       11,
       kIncompatible},
      {"19 characters are scanned",
       "1.6.0_1+xxxxxxxxxxx",
       {"1.6.0_2"},
       "1.6.0_2",
       std::nullopt,
       nullptr},
      {"20 characters are not scanned",
       "1.6.0_1+xxxxxxxxxxxx",
       {"1.6.0_2"},
       "1.6.0_1+xxxxxxxxxxxx",
       std::nullopt,
       nullptr},
  };
  for (const ScanCase& c : cases) {
    for (bool quiet : {false, true}) {
      FakePlatform os;
      std::vector<Installed> versions;
      for (const std::string& name : c.installed)
        versions.push_back({name, "C:\\" + name});
      install(os, versions);
      Launcher l(os);
      l.settings.javaVersion = c.required;
      l.settings.appName = "Model";
      l.settings.quiet = quiet;
      EXPECT_EQ(selectInstalledVersion(l), c.exitStatus) << c.what;
      EXPECT_EQ(l.settings.javaVersion, c.after) << c.what;
      std::vector<std::string> expected;
      if (c.promptCaption && !quiet)
        expected.push_back(std::string(c.promptCaption) +
                           "|Model requires the Java Runtime Environment "
                           "version " +
                           c.required + "\nDo you want to download it?");
      EXPECT_EQ(os.boxes(), expected) << c.what;
    }
  }
}

TEST(SelectInstalledVersion, WritesTheSixTraceLines) {
  FakePlatform os;
  install(
      os,
      {{"1.6", "a"}, {"1.5.0_9", "b"}, {"1.6.0_20", "c"}, {"1.6.0_7", "d"}});
  Launcher l(os);
  l.settings.javaVersion = "1.6";
  selectInstalledVersion(l);
  EXPECT_EQ(os.out,
            "javaVersion=1.6, javaVer=1.6\n"
            "checking (1) 1.6\n"
            "found correct java version 1.6. checking patch level\n"
            "No patch level found in 1.6\n"
            "checking (2) 1.5.0_9\n"
            "checking (3) 1.6.0_20\n"
            "found correct java version 1.6.0_20. checking patch level\n"
            "checking patch level 20 against 0\n"
            "found latest java version 1.6.0_20\n"
            "checking (4) 1.6.0_7\n"
            "found correct java version 1.6.0_7. checking patch level\n"
            "checking patch level 7 against 20\n");
  EXPECT_EQ(os.eventsOf("regClose").size(), 1u);
}

TEST(SelectInstalledVersion, SkipsNamesTheRegistryCannotHand) {
  FakePlatform os;
  install(os, {{std::string(256, '1') + "_9", "x"}, {"1.6.0_3", "y"}});
  Launcher l(os);
  l.settings.javaVersion = "1";
  selectInstalledVersion(l);
  EXPECT_EQ(l.settings.javaVersion, "1.6.0_3");
  EXPECT_EQ(os.out.find("checking (1)"), std::string::npos);
  EXPECT_NE(os.out.find("checking (2) 1.6.0_3\n"), std::string::npos);
}

TEST(SelectInstalledVersion, AFailedSubkeyCountScansNothing) {
  FakePlatform os;
  install(os, {{"1.6.0_30", "x"}});
  os.failSubkeyCount = true;
  Launcher l(os);
  l.settings.javaVersion = "1.6.0_10+";
  // Nothing reaches level 10, so the prompt follows.
  EXPECT_EQ(selectInstalledVersion(l), 11);
  EXPECT_TRUE(os.eventsOf("regEnum").empty());
}

TEST(SelectInstalledVersion, AMissingRootKeyEndsWithTheDownloadPrompt) {
  for (bool debug : {false, true}) {
    FakePlatform os;
    Launcher l(os);
    l.settings.javaVersion = "1.6";
    l.settings.mainClass = "app.Main";
    l.settings.debug = debug;
    EXPECT_EQ(selectInstalledVersion(l), 11);
    std::vector<std::string> expected;
    if (debug)
      expected.push_back("Error Accessing Registry!|Java Current Version");
    expected.push_back(std::string(kNotFound) +
                       "|app.Main requires the Java Runtime Environment "
                       "version 1.6\nDo you want to download it?");
    EXPECT_EQ(os.boxes(), expected);
    EXPECT_EQ(os.eventsOf("box").back().number, kPromptStyle);
  }
}

TEST(FindJavaForVersion, AnExactVersionOpensOnlyItsKey) {
  FakePlatform os;
  install(os, {{"1.6.0_21", "C:\\Program Files\\jre"}});
  Launcher l(os);
  l.settings.javaVersion = "1.6.0_21";
  l.settings.debug = true;
  EXPECT_EQ(findJavaForVersion(l).path.value_or("none"),
            "\"C:\\Program Files\\jre\\bin\\java.exe\"");
  EXPECT_EQ(opened(os), std::vector<std::string>{kRoot + "\\1.6.0_21"});
  EXPECT_TRUE(os.out.empty());  // no scan
  EXPECT_EQ(os.boxes(),
            (std::vector<std::string>{
                "JavaInstallRegPath|" + kRoot + "\\1.6.0_21",
                "Adding double quotes around|C:\\Program Files\\jre"}));
}

TEST(FindJavaForVersion, AScanThatSelectsUsesTheSelectedHome) {
  FakePlatform os;
  install(os, {{"1.6", "C:\\a"}, {"1.6.0_20", "C:\\b"}, {"1.6.0_7", "C:\\c"}});
  Launcher l(os);
  l.settings.javaVersion = "1.6";
  EXPECT_EQ(findJavaForVersion(l).path.value_or("none"),
            "C:\\b\\bin\\javaw.exe");
  EXPECT_EQ(l.settings.javaVersion, "1.6.0_20");
  EXPECT_EQ(opened(os).back(), kRoot + "\\1.6.0_20");
}

TEST(FindJavaForVersion, UnsetOrEmptyAsksNothing) {
  for (std::optional<std::string> v :
       {std::optional<std::string>(), std::optional<std::string>("")}) {
    FakePlatform os;
    Launcher l(os);
    l.settings.javaVersion = v;
    EXPECT_FALSE(findJavaForVersion(l).path);
    EXPECT_TRUE(os.events.empty());
  }
}

TEST(FindJavaForVersion, AMissingRuntimePromptsAndReturnsNone) {
  struct Case {
    const char* version;
    int answer;
    bool quiet;
    const char* openedPage;  // the download page, if one is opened
  } cases[] = {
      {"1.6.0_21", kIdNo, false, nullptr},
      {"1.6.0_21", kIdYes, false, nullptr},  // no page for 1.6
      {"1.5.0_10", kIdYes, false, "https://www.java.com/download/"},
      {"1.5.0_10", kIdNo, false, nullptr},
      {"1.4.2_08", kIdYes, false,
       "https://www.oracle.com/java/technologies/"
       "java-archive-javase-v142-downloads.html"},
      {"1.5.0_10", kIdYes, true, nullptr},  // quiet: no box, no page
  };
  for (const Case& c : cases) {
    FakePlatform os;
    install(os, {{"1.7.0_1", "C:\\j"}});
    os.boxAnswers = {c.answer};
    Launcher l(os);
    l.settings.javaVersion = c.version;
    l.settings.quiet = c.quiet;
    l.settings.appName = "";
    l.settings.mainClass = "app.Main";
    JavaSearch search = findJavaForVersion(l);
    EXPECT_FALSE(search.path) << c.version;
    EXPECT_EQ(search.earlyExit, std::nullopt) << c.version;
    std::vector<std::string> expected;
    if (!c.quiet)
      expected.push_back(std::string(kNotFound) +
                         "|app.Main requires the Java Runtime Environment "
                         "version " +
                         c.version + "\nDo you want to download it?");
    EXPECT_EQ(os.boxes(), expected) << c.version;
    auto opens = os.eventsOf("open");
    EXPECT_TRUE(os.eventsOf("start").empty()) << c.version;
    if (c.openedPage) {
      ASSERT_EQ(opens.size(), 1u) << c.version;
      EXPECT_EQ(opens[0].text, c.openedPage);
    } else {
      EXPECT_TRUE(opens.empty()) << c.version;
    }
  }
}

TEST(FindJavaForVersion, AMissingHomeNamesTheKeyPath) {
  for (int mode = 0; mode < 3; ++mode) {  // normal, debug, quiet
    FakePlatform os;
    install(os, {{"1.6.0_21", std::nullopt}});
    Launcher l(os);
    l.settings.javaVersion = "1.6.0_21";
    l.settings.debug = mode == 1;
    l.settings.quiet = mode == 2;
    EXPECT_FALSE(findJavaForVersion(l).path);
    std::vector<std::string> expected;
    if (mode == 1) {
      expected.push_back("JavaInstallRegPath|" + kRoot + "\\1.6.0_21");
      expected.push_back("Error Reading Registry!|Java Home Directory");
    }
    if (mode != 2)
      expected.push_back("Error!|No Java Home Directory Found for " + kRoot +
                         "\\1.6.0_21 ");
    EXPECT_EQ(os.boxes(), expected) << mode;
  }
}

TEST(FindJavaForVersion, TooLongTextsAreRefusedOrCut) {
  // 212 characters make a key path of 255: one past its buffer. The key is
  // not opened and the prompt, cut to 254 characters, follows.
  const std::string longVersion = "1.6.0_2" + std::string(205, 'x');
  FakePlatform os;
  install(os, {{longVersion, "C:\\j"}});
  Launcher l(os);
  l.settings.javaVersion = longVersion;
  l.settings.appName = "Model";
  EXPECT_FALSE(findJavaForVersion(l).path);
  EXPECT_TRUE(opened(os).empty());
  auto boxes = os.eventsOf("box");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, kNotFound);
  EXPECT_EQ(boxes[0].text.size(), 254u);

  // One character less fits, and the runtime is found.
  const std::string fitting = longVersion.substr(0, 211);
  FakePlatform os2;
  install(os2, {{fitting, "C:\\j"}});
  Launcher l2(os2);
  l2.settings.javaVersion = fitting;
  EXPECT_EQ(findJavaForVersion(l2).path.value_or("none"),
            "C:\\j\\bin\\javaw.exe");

  // A home that leaves no room for the suffix is no home.
  FakePlatform os3;
  install(os3, {{"1.6.0_21", std::string(2040, 'h')}});
  Launcher l3(os3);
  l3.settings.javaVersion = "1.6.0_21";
  EXPECT_FALSE(findJavaForVersion(l3).path);
  EXPECT_EQ(os3.boxes(), std::vector<std::string>{
                             "Error!|No Java Home Directory Found for " +
                             kRoot + "\\1.6.0_21 "});
}

TEST(OfferJavaDownload, NamesTheApplicationAndAlwaysEndsWith11) {
  struct Case {
    std::optional<std::string> appName;
    std::optional<std::string> mainClass;
    bool quiet;
    const char* name;
  } cases[] = {
      {"Model", "app.Main", false, "Model"},
      {"", "app.Main", false, "app.Main"},
      {std::nullopt, "app.Main", false, "app.Main"},
      {std::nullopt, std::nullopt, false, ""},
      {"Model", "app.Main", true, nullptr},
  };
  for (const Case& c : cases) {
    for (int answer : {kIdYes, kIdNo}) {
      FakePlatform os;
      os.boxAnswers = {answer};
      Launcher l(os);
      l.settings.appName = c.appName;
      l.settings.mainClass = c.mainClass;
      l.settings.quiet = c.quiet;
      l.settings.javaVersion = "1.5.0_1+";
      EXPECT_EQ(offerJavaDownload(l, "Caption"), 11);
      std::vector<std::string> expected;
      if (c.name)
        expected.push_back(std::string("Caption|") + c.name +
                           " requires the Java Runtime Environment version "
                           "1.5.0_1+\nDo you want to download it?");
      EXPECT_EQ(os.boxes(), expected);
      EXPECT_EQ(os.eventsOf("open").size(),
                c.name && answer == kIdYes ? 1u : 0u);
    }
  }
}

TEST(FindJavaForVersion, ThroughTheReaderAMissingRuntimeEndsWith5) {
  FakePlatform os;
  os.files["C:\\start\\app.config"] =
      "appname Model\njavaVersion 1.6.0_21\nmainclass never.Read\n";
  Launcher l(os);
  l.settings.quiet = true;
  EXPECT_EQ(readConfigFile(l, "C:\\start\\app.config").earlyExit, 5);
  EXPECT_FALSE(l.settings.mainClass);

  FakePlatform found;
  install(found, {{"1.6.0_21", "C:\\jre"}});
  found.files["C:\\start\\app.config"] = "javaVersion 1.6.0_21\n";
  Launcher l2(found);
  EXPECT_EQ(readConfigFile(l2, "C:\\start\\app.config").code, 0);
  EXPECT_EQ(l2.settings.javaPath, "C:\\jre\\bin\\javaw.exe");
}

}  // namespace
}  // namespace zindle
