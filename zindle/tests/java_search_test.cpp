// The wider Java search on the fake platform: version reading, the places
// and keys searched, which runtime wins, and the two directives that use it.
#include "java_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "java_discovery.h"
#include "launcher_fixture.h"

namespace zindle {
namespace {

using testing::FakeEvent;
using testing::FakePlatform;
using testing::FakeRegistryKey;
using Registry = std::map<std::string, FakeRegistryKey>;

TEST(JavaVersion, ReadsNumbersAndCompares) {
  const struct {
    const char* text;
    const char* numbers;
  } reads[] = {
      {"1.8.0_301", "8.0.301"},
      {"17.0.9.9", "17.0.9.9"},
      {"17", "17"},
      {"zulu-21", "21"},
      {"1", "1"},
      {"1.8", "8"},
      {"21.0.1+12-LTS", "21.0.1.12"},
      {"17.0.2b7", "17.0.2"},
      {"17..2", "17"},
      {"1.8.", "8"},
      {"none", ""},
      {"99999999999.1", "999999999.1"},
  };
  for (const auto& r : reads)
    EXPECT_EQ(javaVersionText(readJavaVersion(r.text)), r.numbers) << r.text;
  const struct {
    const char* a;
    const char* b;
    int sign;
  } compares[] = {{"17", "17.0.0", 0},
                  {"1.8.0_301", "11", -1},
                  {"17.0.10", "17.0.9", 1},
                  {"21", "17.0.99", 1}};
  for (const auto& c : compares) {
    int result =
        compareJavaVersions(readJavaVersion(c.a), readJavaVersion(c.b));
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " " << c.b;
  }
  EXPECT_EQ(
      releaseJavaVersion("IMPLEMENTOR=\"X\"\nJAVA_VERSION=\"21.0.1\"\r\n"),
      "21.0.1");
  EXPECT_EQ(releaseJavaVersion("JAVA_VERSION=17\n"), "17");
  EXPECT_FALSE(releaseJavaVersion("XJAVA_VERSION=\"17\"\nOS_ARCH=\"x\"\n"));
}

// One registered runtime: where, which key below SOFTWARE, its name, the
// value holding its home, and the home (present when it holds javaw.exe).
struct Entry {
  Registry FakePlatform::*place;
  std::string key;
  std::string name;
  std::string home;
  bool present = true;
};

void add(FakePlatform& os, const Entry& e) {
  Registry& reg = os.*(e.place);
  const std::string parent = "SOFTWARE\\" + e.key;
  reg[parent].subkeys.push_back(e.name);
  std::string path = parent + "\\" + e.name;
  if (e.key.find("JavaSoft") != std::string::npos) {
    reg[path].values["JavaHome"] = e.home;
  } else if (e.key.find("Zulu") != std::string::npos ||
             e.key.find("Liberica") != std::string::npos) {
    reg[path].values["InstallationPath"] = e.home;
  } else {  // MSI layout: the level below the version names the VM
    reg[path].subkeys.push_back("openj9");
    reg[path + "\\openj9\\MSI"].values["Path"] = e.home + "\\";
  }
  if (e.present) os.files[e.home + "\\bin\\javaw.exe"] = "";
}

constexpr auto kOwn = &FakePlatform::registry;  // HKLM, 64-bit view
constexpr auto kOther = &FakePlatform::otherView;
constexpr auto kUser = &FakePlatform::currentUser;
const char* const kJdk = "JavaSoft\\JDK";

TEST(JavaSearch, OrderViewsVersionsAndStaleHomes) {
  const struct {
    const char* what;
    std::vector<Entry> entries;
    const char* javaHome;  // JAVA_HOME, with its release version after "|"
    const char* chosen;
  } cases[] = {
      {"Temurin MSI, trailing backslash stripped",
       {{kOwn, "Eclipse Adoptium\\JDK", "17.0.9.9", "C:\\tem"}},
       nullptr,
       "C:\\tem"},
      {"the highest version wins across keys and HKCU",
       {{kOwn, kJdk, "11", "C:\\a"},
        {kUser, "Azul Systems\\Zulu", "zulu-21", "C:\\z"},
        {kOwn, "BellSoft\\Liberica", "17", "C:\\b"}},
       nullptr,
       "C:\\z"},
      {"32-bit only when 64-bit and HKCU give none",
       {{kOwn, kJdk, "11", "C:\\a"}, {kOther, kJdk, "21", "C:\\x86"}},
       nullptr,
       "C:\\a"},
      {"a stale 64-bit home leaves the 32-bit one",
       {{kOwn, kJdk, "21", "C:\\gone", false}, {kOther, kJdk, "8", "C:\\x86"}},
       nullptr,
       "C:\\x86"},
      {"a tie goes to the earlier place",
       {{kUser, kJdk, "17", "C:\\user"},
        {kOwn, "Microsoft\\JDK", "17.0.0", "C:\\ms"}},
       nullptr,
       "C:\\ms"},
      {"JAVA_HOME by its release version",
       {{kOwn, kJdk, "11", "C:\\a"}},
       "C:\\jh|17",
       "C:\\jh"},
      {"JAVA_HOME without a version only when nothing else",
       {{kOther, kJdk, "1.8.0_5", "C:\\x86"}},
       "C:\\jh|",
       "C:\\x86"},
      {"JAVA_HOME without a version, alone", {}, "C:\\jh\\|", "C:\\jh"},
      {"nothing present",
       {{kOwn, kJdk, "17", "C:\\gone", false}},
       nullptr,
       "none"},
  };
  for (const auto& c : cases) {
    for (RegistryView own : {RegistryView::k64, RegistryView::k32}) {
      FakePlatform os;
      // A 32-bit launcher's own view is the 32-bit one: swap the maps.
      os.ownView = own;
      for (Entry e : c.entries) {
        if (own == RegistryView::k32 && e.place != kUser)
          e.place = e.place == kOwn ? kOther : kOwn;
        add(os, e);
      }
      if (c.javaHome) {
        std::string spec = c.javaHome;
        std::string home = spec.substr(0, spec.find('|'));
        os.startupEnv["JAVA_HOME"] = home;
        if (home.back() == '\\') home.pop_back();
        os.files[home + "\\bin\\javaw.exe"] = "";
        std::string version = spec.substr(spec.find('|') + 1);
        if (!version.empty())
          os.files[home + "\\release"] = "JAVA_VERSION=\"" + version + "\"\n";
      }
      Launcher l(os);
      EXPECT_EQ(searchJavaHome(l, nullptr).value_or("none"), c.chosen)
          << c.what;
      std::vector<FakeEvent> exists = os.eventsOf("exists");
      for (const FakeEvent& e : exists)
        EXPECT_EQ(e.text.substr(e.text.size() - 14), "\\bin\\javaw.exe");
    }
  }
}

class JavaSearchRun : public testing::LauncherTest {};

TEST_F(JavaSearchRun, CurrentKeyCostsFourReadsAndNothingElse) {
  os.registry["SOFTWARE\\JavaSoft\\Java Runtime Environment"]
      .values["CurrentVersion"] = "1.8";
  os.registry["SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8"]
      .values["JavaHome"] = "C:\\gone";  // returned unchecked
  add(os, {kUser, kJdk, "21", "C:\\newer"});
  startupEnvironment({{"JAVA_HOME", "C:\\newer"}});
  EXPECT_EQ(findCurrentJava(launcher), "C:\\gone\\bin\\javaw.exe");
  EXPECT_EQ(os.eventsOf("regOpen").size(), 2u);
  EXPECT_EQ(os.eventsOf("regQuery").size(), 2u);
  EXPECT_EQ(os.events.size(), 6u);  // and the two closes
  EXPECT_EQ(os.startupEnvLookups + os.filesRead, 0);
}

TEST_F(JavaSearchRun, FallbackAfterTheFailingStepsDebugBox) {
  settings.debug = true;
  add(os, {kOwn, "Eclipse Adoptium\\JRE", "17.0.9.9", "C:\\tem"});
  os.files["C:\\tem\\bin\\java.exe"] = "";  // debug mode checks java.exe
  EXPECT_EQ(findCurrentJava(launcher), "C:\\tem\\bin\\java.exe");
  EXPECT_EQ(os.boxes(),
            (std::vector<std::string>{
                "Error Accessing Registry!|SOFTWARE\\JavaSoft\\Java Runtime "
                "Environment",
                "Java Search|HKLM 64-bit SOFTWARE\\Eclipse Adoptium\\JRE\\"
                "17.0.9.9\\openj9\\MSI: C:\\tem (version 17.0.9.9)\n"
                "Chosen: C:\\tem"}));
}

TEST_F(JavaSearchRun, MinVersionDirective) {
  add(os, {kOwn, kJdk, "11.0.2", "C:\\j11"});
  add(os, {kOther, kJdk, "21", "C:\\j21"});
  startupEnvironment({{"JAVA_HOME", "C:\\jh"}});
  os.files["C:\\jh\\bin\\javaw.exe"] = "";  // no release: never for a minimum
  const struct {
    const char* config;
    std::optional<int> status;
    const char* javaPath;
    const char* box;
  } cases[] = {
      {"javaMinVersion 11\n", std::nullopt, "C:\\j11\\bin\\javaw.exe", ""},
      {"javaMinVersion 1.8.0_202\n", std::nullopt, "C:\\j11\\bin\\javaw.exe",
       ""},
      {"javaMinVersion 17.0.2\n", std::nullopt, "C:\\j21\\bin\\javaw.exe", ""},
      {"javapath C:\\p\njavaMinVersion 11\njavapath C:\\last\n", std::nullopt,
       "C:\\last", ""},
      {"appname Model\njavaMinVersion 22\nmainclass never.Read\n", 5, "unset",
       "Model requires the Java Runtime Environment version 22\n"},
      {"javaMinVersion none\n", 5, "unset", " version none\n"},
  };
  for (const auto& c : cases) {
    for (bool quiet : {false, true}) {
      os.events.clear();
      settings = {};
      settings.quiet = quiet;
      os.files["C:\\start\\app.config"] = c.config;
      EXPECT_EQ(readConfigFile(launcher, "C:\\start\\app.config").earlyExit,
                c.status)
          << c.config;
      EXPECT_EQ(settings.javaPath.value_or("unset"), c.javaPath) << c.config;
      EXPECT_FALSE(settings.mainClass);
      std::vector<FakeEvent> boxes = os.eventsOf("box");
      ASSERT_EQ(boxes.size(), *c.box && !quiet ? 1u : 0u) << c.config;
      if (boxes.empty()) continue;
      EXPECT_EQ(boxes[0].caption, "Java Runtime Environment Not Found");
      EXPECT_NE(boxes[0].text.find(c.box), std::string::npos);
      EXPECT_EQ(boxes[0].number, kMbYesNo | kMbIconError);
    }
  }
}

TEST_F(JavaSearchRun, DownloadUrlDirective) {
  const struct {
    const char* address;
    bool taken;
  } cases[] = {
      {"https://example.org/java", true},
      {"HTTP://example.org/j?a=1&b=2", true},
      {"file:///C:/Windows/system32/calc.exe", false},
      {"C:\\Windows\\calc.exe", false},
      {"https://example.org/a\"b", false},
      {"https://example.org/a b", false},
      {"https://", true},
      {"ftp://example.org/", false},
  };
  for (const auto& c : cases) {
    for (bool debug : {false, true}) {  // Yes answered; debug boxes
      os.events.clear();
      settings = {};
      settings.debug = debug;
      if (!debug) os.boxAnswers = {kIdYes};
      EXPECT_EQ(readText(std::string("javaDownloadUrl https://first/\n"
                                     "javaDownloadUrl ") +
                         c.address + "\njavaMinVersion 99\n"),
                0);
      if (debug) {
        std::vector<std::string> boxes = os.boxes();
        EXPECT_EQ(
            std::count(boxes.begin(), boxes.end(),
                       std::string("javaDownloadUrl ignored|") + c.address),
            c.taken ? 0 : 1)
            << c.address;
        continue;
      }
      std::vector<FakeEvent> opened = os.eventsOf("open");
      ASSERT_EQ(opened.size(), 1u) << c.address;
      EXPECT_EQ(opened[0].text, c.taken ? c.address : "https://first/");
    }
  }
  // The longest address the system's browser is handed.
  EXPECT_TRUE(isDownloadAddress("https://" + std::string(464, 'a')));
  EXPECT_FALSE(isDownloadAddress("https://" + std::string(465, 'a')));
}

}  // namespace
}  // namespace zindle
